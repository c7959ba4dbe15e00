// Main of every Win32 test program run under Wine.
//
// Prints one "PASS: suite.test" or "FAIL: suite.test" line per test as soon as the test ends,
// flushed, so that a crash later (at exit, say) cannot hide results already reached. After the
// run the process ends with _exit: static destructors and DLL detach code of the platform are
// not part of what these programs test, and must not turn a finished run into a hang or crash.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <windows.h>

namespace {

class PassFailPrinter : public testing::EmptyTestEventListener {
  void OnTestEnd(const testing::TestInfo& info) override {
    const char* verdict = info.result()->Skipped() ? "SKIP" : info.result()->Passed() ? "PASS" : "FAIL";
    std::printf("%s: %s.%s\n", verdict, info.test_suite_name(), info.name());
    std::fflush(stdout);
  }
  void OnTestProgramEnd(const testing::UnitTest& unit) override {
    std::printf("%d passed, %d failed\n", unit.successful_test_count(), unit.failed_test_count());
    std::fflush(stdout);
  }
};

}  // namespace

int main(int argc, char** argv) {
  // A crash must end the process, not open a dialog or the debugger.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new PassFailPrinter);
  int rc = RUN_ALL_TESTS();
  std::fflush(stdout);
  std::fflush(stderr);
  _exit(rc);
}
