// A connection that records its progress and status events as text, for comparing sequences.
#pragma once

#include <string>
#include <vector>

#include "http/TCPConnection.h"

class LoggingConnection : public TNetTCPClient {
 public:
  std::vector<std::string> Events;
  std::vector<std::string> WorkOnly() const {
    std::vector<std::string> r;
    for (const auto& e : Events)
      if (e.rfind("work", 0) == 0) r.push_back(e);
    return r;
  }

 protected:
  void StatusEvent(TNetStatus status, const std::string& text) override {
    Events.push_back(std::string("status ") + StatusName(status) + " " + text);
  }
  void WorkBeginEvent(TWorkMode mode, int64_t n) override {
    Events.push_back(std::string("work_begin ") + (mode == wmRead ? "read " : "write ") + std::to_string(n));
  }
  void WorkEvent(TWorkMode mode, int64_t n) override {
    Events.push_back(std::string("work ") + (mode == wmRead ? "read " : "write ") + std::to_string(n));
  }
  void WorkEndEvent(TWorkMode mode) override { Events.push_back(std::string("work_end ") + (mode == wmRead ? "read" : "write")); }
};
