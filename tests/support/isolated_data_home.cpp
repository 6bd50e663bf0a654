// Every test process gets a data folder of its own (XDG_DATA_HOME), so that the station log
// a test writes is never replayed by another test, nor the user's log by a test. Programs a
// test starts inherit it.
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace {

class IsolatedDataHome {
  public:
    IsolatedDataHome() : owner_(::getpid()) {
        char name[] = "/tmp/plovane-test-data-XXXXXX";
        if (::mkdtemp(name) != nullptr) {
            path_ = name;
            ::setenv("XDG_DATA_HOME", name, 1);
        }
    }
    ~IsolatedDataHome() {
        // A forked child leaves the folder to its parent.
        if (!path_.empty() && ::getpid() == owner_) {
            std::error_code error;
            std::filesystem::remove_all(path_, error);
        }
    }

  private:
    pid_t owner_;
    std::string path_;
};

const IsolatedDataHome isolatedDataHome;

}  // namespace
