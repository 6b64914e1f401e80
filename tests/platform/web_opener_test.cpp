// The opener of web addresses against a stand-in xdg-open first on PATH that notes what it
// was given: the real process start, argument passing and reaping.
#include "platform/web_opener.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace kettrik {
namespace {

namespace fs = std::filesystem;

class StubOpener : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/web_opener_test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
        log_ = folder_ / "opened.log";
        const fs::path script = folder_ / "xdg-open";
        std::ofstream(script) << "#!/bin/sh\nprintf '%s|%s\\n' \"$#\" \"$1\" >> '" << log_.string()
                              << "'\n";
        ::chmod(script.c_str(), 0700);
        oldPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
        ::setenv("PATH", (folder_.string() + ":" + oldPath_).c_str(), 1);
    }
    void TearDown() override {
        ::setenv("PATH", oldPath_.c_str(), 1);
        fs::remove_all(folder_);
    }
    // Lines noted by the stand-in, waiting up to twenty seconds (a busy machine may be slow to
    // start it) for `count` of them.
    std::vector<std::string> Opened(std::size_t count) const {
        std::vector<std::string> lines;
        for (int waited = 0; waited < 20000; waited += 10) {
            lines.clear();
            std::ifstream in(log_);
            for (std::string line; std::getline(in, line);) {
                lines.push_back(line);
            }
            if (lines.size() >= count) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return lines;
    }

    fs::path folder_;
    fs::path log_;
    std::string oldPath_;
};

TEST_F(StubOpener, handsTheAddressOverAsOneArgumentUntouched) {
    const std::string address =
        "http://www.kettrik.example/a b;$(touch x)?KettrikVersion=54&Link=-1";
    OpenAddress(address);
    OpenAddress("https://www.kettrik.example");
    // The two openers run side by side, so their lines may come in either order.
    std::vector<std::string> opened = Opened(2);
    std::sort(opened.begin(), opened.end());
    EXPECT_EQ(opened, (std::vector<std::string>{"1|" + address, "1|https://www.kettrik.example"}));
    EXPECT_FALSE(fs::exists("x"));
}

TEST_F(StubOpener, opensNothingButWebAddresses) {
    for (const char* address : {"--help", "file:///etc/passwd", "", "www.kettrik.example"}) {
        OpenAddress(address);
    }
    OpenAddress("http://www.kettrik.example/last");
    EXPECT_EQ(Opened(1), std::vector<std::string>{"1|http://www.kettrik.example/last"});
}

TEST(WebOpener, withoutAnOpenerNothingHappens) {
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", "/nonexistent", 1);
    OpenAddress("http://www.kettrik.example/");
    ::setenv("PATH", oldPath.c_str(), 1);
}

} // namespace
} // namespace kettrik
