// tavlox-http: runs GET and HEAD requests in order on one client object (so keep-alive and
// cookies carry from one request to the next) and prints one JSON object per request.
//
//   tavlox-http [--events] [--read-timeout MS] [--body hex|none] [--out FILE] (--get URL | --head URL)...
//
// Exit status: 0 when every request succeeded, 1 when any failed, 2 for a usage error.
// Strings are written byte for byte; a byte from 0x80 up is written as the escape \u0080..\u00ff
// (one code point per byte), so the output is plain ASCII and loses nothing.
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "http/NetHTTP.h"

namespace {

const char kUsage[] =
    "usage: tavlox-http [--events] [--read-timeout MS] [--body hex|none] [--out FILE] (--get URL | --head URL)...\n"
    "  --get URL          GET the URL (into memory, or appended to FILE with --out)\n"
    "  --head URL         HEAD the URL\n"
    "  --events           list the progress and status events of each request\n"
    "  --read-timeout MS  wait limit of each receive in ms (default 0: no limit)\n"
    "  --body hex|none    print the body as lowercase hex (default) or not at all\n"
    "  --out FILE         write GET bodies to FILE instead of memory (no body_hex then)\n"
    "Prints one JSON object per request. Exit status 0: all succeeded, 1: any failed, 2: usage error.\n";

std::string Quote(const std::string& s) {
  std::string r = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': r += "\\\""; break;
      case '\\': r += "\\\\"; break;
      case '\n': r += "\\n"; break;
      case '\r': r += "\\r"; break;
      case '\t': r += "\\t"; break;
      default:
        if (c < 0x20 || c >= 0x7f) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          r += buf;
        } else {
          r += char(c);
        }
    }
  }
  return r + "\"";
}

std::string Hex(const char* data, size_t n) {
  static const char digits[] = "0123456789abcdef";
  std::string r(n * 2, '0');
  for (size_t i = 0; i < n; ++i) {
    unsigned char c = (unsigned char)data[i];
    r[2 * i] = digits[c >> 4];
    r[2 * i + 1] = digits[c & 15];
  }
  return r;
}

struct Job {
  bool get;
  std::string url;
};

int Usage(const std::string& problem) {
  std::fprintf(stderr, "tavlox-http: %s\n%s", problem.c_str(), kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  bool events = false, bodyHex = true;
  int readTimeout = 0;
  std::optional<std::string> outPath;
  std::vector<Job> jobs;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    if (a == "--events") {
      events = true;
    } else if (a == "--read-timeout") {
      const char* v = value();
      if (!v) return Usage("--read-timeout needs a value");
      char* end = nullptr;
      long ms = std::strtol(v, &end, 10);
      if (!*v || *end || ms < 0 || ms > 2147483647L) return Usage(std::string("bad --read-timeout value: ") + v);
      readTimeout = int(ms);
    } else if (a == "--body") {
      const char* v = value();
      if (!v || (std::strcmp(v, "hex") != 0 && std::strcmp(v, "none") != 0)) return Usage("--body takes hex or none");
      bodyHex = std::strcmp(v, "hex") == 0;
    } else if (a == "--out") {
      const char* v = value();
      if (!v) return Usage("--out needs a file name");
      outPath = v;
    } else if (a == "--get" || a == "--head") {
      const char* v = value();
      if (!v) return Usage(a + " needs a URL");
      jobs.push_back({a == "--get", v});
    } else if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else {
      return Usage("unknown argument: " + a);
    }
  }
  if (jobs.empty()) return Usage("no request given");

  std::unique_ptr<TFileStream> file;
  if (outPath) {
    try {
      file = std::make_unique<TFileStream>(*outPath, TFileStream::Mode::Create);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "tavlox-http: %s\n", e.what());
      return 1;
    }
  }

  TNetHTTP http;
  http.SetReadTimeout(readTimeout);
  std::vector<std::string> eventList;
  if (events) {
    auto mode = [](TWorkMode m) { return std::string(m == wmRead ? "\"read\"" : "\"write\""); };
    http.OnWorkBegin = [&](TNetHTTP&, TWorkMode m, int64_t n) {
      eventList.push_back("[\"work_begin\"," + mode(m) + "," + std::to_string(n) + "]");
    };
    http.OnWork = [&](TNetHTTP&, TWorkMode m, int64_t n) {
      eventList.push_back("[\"work\"," + mode(m) + "," + std::to_string(n) + "]");
    };
    http.OnWorkEnd = [&](TNetHTTP&, TWorkMode m) { eventList.push_back("[\"work_end\"," + mode(m) + "]"); };
    http.OnStatus = [&](TNetHTTP&, TNetStatus s, const std::string& text) {
      eventList.push_back("[\"status\"," + Quote(StatusName(s)) + "," + Quote(text) + "]");
    };
  }

  bool allOk = true;
  for (const Job& job : jobs) {
    eventList.clear();
    TMemoryStream memory;
    std::string error = "null";
    bool ok = true;
    const int64_t fileStart = file ? file->Position() : 0;
    auto errorObject = [](const char* cls, const std::string& message, const std::string& replyCode,
                          const std::string& replyBody, const std::string& socketCode) {
      return "{\"class\":" + Quote(cls) + ",\"message\":" + Quote(message) + ",\"reply_code\":" + replyCode +
             ",\"reply_body_hex\":" + replyBody + ",\"socket_error_code\":" + socketCode + "}";
    };
    try {
      if (job.get)
        http.FetchInto(job.url, file ? static_cast<TNetStream&>(*file) : memory);
      else
        http.ProbeHead(job.url);
    } catch (const ENetHTTPProtocolException& e) {
      ok = false;
      error = errorObject(e.ClassName(), e.Message(), std::to_string(e.ReplyCode()),
                          "\"" + Hex(e.ReplyBody().data(), e.ReplyBody().size()) + "\"", "null");
    } catch (const ENetProtocolReplyError& e) {
      ok = false;
      error = errorObject(e.ClassName(), e.Message(), std::to_string(e.ReplyCode()), "null", "null");
    } catch (const ENetSocketError& e) {
      ok = false;
      error = errorObject(e.ClassName(), e.Message(), "null", "null", std::to_string(e.SocketErrorCode()));
    } catch (const ENetException& e) {
      ok = false;
      error = errorObject(e.ClassName(), e.Message(), "null", "null", "null");
    } catch (const EConvertError& e) {
      ok = false;
      error = errorObject(e.ClassName(), e.Message(), "null", "null", "null");
    } catch (const std::exception& e) {
      ok = false;
      error = errorObject("std::exception", e.what(), "null", "null", "null");
    }
    allOk = allOk && ok;

    TNetHTTPResponse& r = http.LastResponse();
    const bool fresh = http.LastStatusRead();
    std::string headers = "null";
    if (fresh) {
      headers = "[";
      for (size_t i = 0; i < r.HeaderLines.Lines.size(); ++i) headers += (i ? "," : "") + Quote(r.HeaderLines.Lines[i]);
      headers += "]";
    }
    std::string line = "{\"method\":" + Quote(job.get ? "GET" : "HEAD") + ",\"url\":" + Quote(job.url) +
                       ",\"ok\":" + (ok ? "true" : "false") +
                       ",\"status_line\":" + (fresh ? Quote(r.StatusLine) : "null") +
                       ",\"status\":" + (fresh ? std::to_string(r.StatusCode()) : "null") +
                       ",\"content_length\":" + (fresh ? std::to_string(r.ContentLength()) : "null") +
                       ",\"response_headers\":" + headers +
                       ",\"keep_connection\":" + (r.KeepConnection ? "true" : "false") +
                       ",\"body_bytes\":" + (job.get ? std::to_string(http.LastBodyBytes()) : "null");
    if (bodyHex && !file) line += ",\"body_hex\":" + (job.get ? "\"" + Hex(memory.Data(), size_t(memory.Size())) + "\"" : "null");
    if (events) {
      line += ",\"events\":[";
      for (size_t i = 0; i < eventList.size(); ++i) line += (i ? "," : "") + eventList[i];
      line += "]";
    }
    line += ",\"error\":" + error + "}\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
    (void)fileStart;
  }
  return allOk ? 0 : 1;
}
