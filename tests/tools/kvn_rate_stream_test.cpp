// kvn-rate as a stream: a pipe gets each answer before it writes the next
// coil, input that is no coil is answered on its own line while the stream
// goes on, and the output does not depend on the number of threads.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "shell.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

const std::string kRater = std::string(KVN_BIN_DIR) + "/kvn-rate";

const char kWater[] =
    R"({"Application":"W","FPI":"12","RD":"4","TH":"16","FL":"48","Circuits":"16","Altitude":"0","Acfm":"2000","EatDb":"80","EatWb":"67","EntFluidTemp":"45","Gpm":"20","Pattern":"5","TubeWall":"0.02","FinMat":"A","FinThk":"0.006"})";
const char kSteam[] =
    R"({"Application":"S","FPI":"10","RD":"2","TH":"16","FL":"48","Circuits":"","Altitude":"0","Acfm":"3000","EatDb":"0","SteamPressure":"15","Pattern":"5","TubeWall":"0.025","FinMat":"A","FinThk":"0.006"})";

// kvn-rate on the far ends of two pipes.
class RaterPipe {
public:
    RaterPipe() {
        int in[2], out[2];
        if (::pipe(in) != 0 || ::pipe(out) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(in[0], 0);
            ::dup2(out[1], 1);
            const int devnull = ::open("/dev/null", O_WRONLY);
            ::dup2(devnull, 2);
            for (int fd : {in[0], in[1], out[0], out[1], devnull}) ::close(fd);
            ::execl(kRater.c_str(), "kvn-rate", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        to_ = in[1];
        from_ = out[0];
    }
    ~RaterPipe() {
        CloseInput();
        if (from_ >= 0) ::close(from_);
        if (pid_ > 0 && !waited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    bool Write(const std::string& text) {
        for (std::size_t done = 0; done < text.size();) {
            const ssize_t w = ::write(to_, text.data() + done, text.size() - done);
            if (w <= 0) return false;
            done += static_cast<std::size_t>(w);
        }
        return true;
    }
    // The next output line; "" when none came before a deadline that only a
    // hang reaches.
    std::string ReadLine() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        for (;;) {
            const std::size_t nl = buffer_.find('\n');
            if (nl != std::string::npos) {
                std::string line = buffer_.substr(0, nl);
                buffer_.erase(0, nl + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd p{from_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) return {};
            char buf[65536];
            const ssize_t got = ::read(from_, buf, sizeof buf);
            if (got <= 0) return {};
            buffer_.append(buf, static_cast<std::size_t>(got));
        }
    }
    void CloseInput() {
        if (to_ >= 0) ::close(to_);
        to_ = -1;
    }
    int Wait() {
        CloseInput();
        int st = 0;
        ::waitpid(pid_, &st, 0);
        waited_ = true;
        return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    }

private:
    pid_t pid_ = -1;
    int to_ = -1, from_ = -1;
    bool waited_ = false;
    std::string buffer_;
};

// Each answer comes while the pipe is still open and before the next coil
// is written; a malformed line and a line over 1 MB are answered in turn.
TEST(KvnRateStream, PipeGetsEachAnswerBeforeTheNextCoil) {
    if (!fs::exists(kRater)) GTEST_SKIP() << "no kvn-rate";
    ::signal(SIGPIPE, SIG_IGN);
    RaterPipe rater;
    ASSERT_TRUE(rater.Write(std::string(kWater) + "\n"));
    const std::string first = rater.ReadLine();
    ASSERT_FALSE(first.empty()) << "no answer to the first coil while its pipe is open";
    EXPECT_EQ(json::parse(first)["ok"], true);

    ASSERT_TRUE(rater.Write("{\"FPI\": \n"));
    const json malformed = json::parse(rater.ReadLine());
    EXPECT_EQ(malformed["ok"], false);
    EXPECT_EQ(malformed["input"].get<std::string>().rfind("line 2: ", 0), 0u) << malformed;

    ASSERT_TRUE(rater.Write("{\"Notes\":\"" + std::string(3u << 20, 'x') + "\"}\n"));
    EXPECT_EQ(json::parse(rater.ReadLine()), json::parse(R"({"ok":false,"input":"line 3 is over 1 MB"})"));

    ASSERT_TRUE(rater.Write("\n[1]\n" + std::string(kSteam) + "\n"));
    EXPECT_EQ(json::parse(rater.ReadLine()),
              json::parse(R"({"ok":false,"input":"line 5 is not a JSON object"})"));
    EXPECT_EQ(json::parse(rater.ReadLine())["ok"], true);
    EXPECT_EQ(rater.Wait(), 1);  // the first coil not rated was no coil
}

// A batch of rated, refused, failed and malformed coils gives the same
// bytes and status on one thread as on several, as lines or as an array.
TEST(KvnRateStream, OutputIsTheSameOnAnyNumberOfThreads) {
    if (!fs::exists(kRater)) GTEST_SKIP() << "no kvn-rate";
    json water = json::parse(kWater), steam = json::parse(kSteam);
    std::string lines;
    json array = json::array();
    for (int i = 0; i < 40; ++i) {
        json coil = i % 2 ? water : steam;
        coil["FPI"] = std::to_string(6 + i % 12);  // 17 and over are refused
        if (i % 7 == 3) coil["EatDb"] = "250";     // the engine fails
        lines += (i % 9 == 5 ? std::string("{\"FPI\":") : coil.dump()) + "\n";
        array.push_back(i % 9 == 5 ? json(i) : coil);
    }
    const fs::path dir = fs::temp_directory_path() / ("kvn_rate_stream_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "lines.json") << lines;
    std::ofstream(dir / "array.json") << array.dump(1);
    for (const char* input : {"lines.json", "array.json"}) {
        const std::string cmd = kRater + " \"" + (dir / input).string() + "\" 2>/dev/null";
        const ShellRun one = RunShell(cmd), three = RunShell(cmd + " --jobs 3");
        EXPECT_EQ(one.status, 3) << input;  // the fourth coil fails in the engine
        EXPECT_EQ(three.status, one.status) << input;
        EXPECT_EQ(std::count(one.out.begin(), one.out.end(), '\n'), 40) << input;
        EXPECT_EQ(three.out, one.out) << input;
        EXPECT_NE(one.out.find("\"validation\""), std::string::npos);
        EXPECT_NE(one.out.find("\"error\""), std::string::npos);
    }
    fs::remove_all(dir);
}

}  // namespace
