// Test double of an ActiveX control, registered in-process under its own class id: it records
// what the host calls on it and calls the host's site back the way the WebBrowser control does
// (client site, in-place site, window, event connection point), and it answers IWebBrowser2's
// Navigate with a recording stub.
#pragma once

#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>
#include <ole2.h>

#include <string>
#include <vector>

namespace tavlox::testing {

// {5D3A7E21-9B0C-4C2E-A8B1-0F6E2D4C7A11}
constexpr CLSID kFakeControlClassID = {0x5d3a7e21, 0x9b0c, 0x4c2e, {0xa8, 0xb1, 0x0f, 0x6e, 0x2d, 0x4c, 0x7a, 0x11}};

struct NavigateCall {
  std::wstring url;
  VARIANT args[4];  // flags, target frame, post data, headers as they arrived (shallow copies)
};

class FakeControl;

// What the tests can see of the most recently created fake control.
struct FakeControlLog {
  int init_new = 0;
  int load = 0;
  std::vector<unsigned char> loaded_bytes;
  bool refuse_set_extent = false;
  std::vector<SIZEL> set_extents;
  std::vector<NavigateCall> navigations;
  HRESULT navigate_result = S_OK;
  std::vector<UINT> window_messages;  // messages that reached the control's own window
  IDispatch* event_sink = nullptr;    // the host's event sink once advised (not owned)
  IPropertyNotifySink* notify_sink = nullptr;
  IOleClientSite* site = nullptr;
  int ambient_changes = 0;
  int closes = 0;
  std::vector<MSG> accelerators;      // keyboard MSGs offered through TranslateAccelerator
  HRESULT accelerator_result = S_FALSE;
  HWND window = nullptr;
  FakeControl* control = nullptr;
};

FakeControlLog& FakeLog();

// Registers the fake's class object for this thread's apartment; unregisters on destruction.
class FakeControlRegistration {
 public:
  FakeControlRegistration();
  ~FakeControlRegistration();

 private:
  DWORD cookie_ = 0;
};

}  // namespace tavlox::testing
