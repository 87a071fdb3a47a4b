// Named claims within one process and across processes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/NamedClaim.h"

namespace {

using plat::NamedClaim;

// A child process running claim_holder with its stdin and stdout on pipes.
class Helper {
  public:
    explicit Helper(const std::vector<std::string>& args) {
        int toChild[2], fromChild[2];
        if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0) {
            ADD_FAILURE() << "pipe";
            return;
        }
        m_pid = fork();
        if (m_pid == 0) {
            dup2(toChild[0], 0);
            dup2(fromChild[1], 1);
            std::vector<char*> argv{const_cast<char*>(CLAIM_HOLDER_PATH)};
            for (const std::string& a : args) {
                argv.push_back(const_cast<char*>(a.c_str()));
            }
            argv.push_back(nullptr);
            execv(CLAIM_HOLDER_PATH, argv.data());
            _exit(127);
        }
        close(toChild[0]);
        close(fromChild[1]);
        m_stdin = toChild[1];
        m_stdout = fromChild[0];
    }
    ~Helper() {
        CloseStdin();
        if (m_stdout >= 0)
            close(m_stdout);
        if (m_pid > 0)
            Wait();
    }

    // The first line the child wrote ("" at end of file).
    std::string ReadLine() {
        std::string line;
        char c;
        while (read(m_stdout, &c, 1) == 1 && c != '\n') {
            line += c;
        }
        return line;
    }
    void CloseStdin() {
        if (m_stdin >= 0) {
            close(m_stdin);
            m_stdin = -1;
        }
    }
    void Kill() { kill(m_pid, SIGKILL); }
    int Wait() {
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = -1;
        return status;
    }

  private:
    pid_t m_pid = -1;
    int m_stdin = -1;
    int m_stdout = -1;
};

int ExistsInOtherProcess(const std::string& name) {
    Helper probe({"exists", name});
    const int status = probe.Wait();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(NamedClaimTest, ExistsWhileHeldInThisProcessAndGoneAfterClose) {
    const std::string name = "ZDQAPI::mlCamera0";
    EXPECT_FALSE(NamedClaim::Exists(name));
    NamedClaim claim;
    ASSERT_TRUE(claim.Create(name));
    EXPECT_TRUE(claim.IsHeld());
    EXPECT_TRUE(NamedClaim::Exists(name));
    EXPECT_FALSE(NamedClaim::Exists("ZDQAPI::mlCamera1")) << "names are separate";
    claim.Close();
    EXPECT_FALSE(claim.IsHeld());
    EXPECT_FALSE(NamedClaim::Exists(name));
}

TEST(NamedClaimTest, SeveralHoldersShareANameUntilTheLastCloses) {
    NamedClaim first, second;
    ASSERT_TRUE(first.Create("shared"));
    ASSERT_TRUE(second.Create("shared")) << "creating a claim never waits for other holders";
    first.Close();
    EXPECT_TRUE(NamedClaim::Exists("shared"));
    NamedClaim moved = std::move(second);
    EXPECT_FALSE(second.IsHeld());
    EXPECT_TRUE(NamedClaim::Exists("shared"));
    moved.Close();
    EXPECT_FALSE(NamedClaim::Exists("shared"));
}

TEST(NamedClaimTest, ConcurrentProbesNeverSeeAClaimThatNobodyHolds) {
    const std::string name = "ZDQAPI::mlCamera7";
    NamedClaim once;  // make the lock file exist
    ASSERT_TRUE(once.Create(name));
    once.Close();
    std::atomic<int> falseClaims{0};
    std::vector<std::thread> probes;
    for (int t = 0; t < 4; ++t) {
        probes.emplace_back([&] {
            for (int i = 0; i < 5000; ++i) {
                if (NamedClaim::Exists(name)) {
                    ++falseClaims;
                }
            }
        });
    }
    for (auto& probe : probes) {
        probe.join();
    }
    EXPECT_EQ(falseClaims, 0);
}

TEST(NamedClaimTest, LockFileLivesInTheRuntimeFolderWithASafeName) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    ASSERT_NE(runtime, nullptr);
    EXPECT_EQ(NamedClaim::LockFilePath("ZDQAPI::mlCamera12"),
              std::string(runtime) + "/varnu-claim-ZDQAPI%3A%3AmlCamera12.lock");
    EXPECT_EQ(NamedClaim::LockFilePath("a/b c"),
              std::string(runtime) + "/varnu-claim-a%2Fb%20c.lock");
}

TEST(NamedClaimTest, ClaimOfAnotherProcessIsSeenAndVanishesWhenItEnds) {
    const std::string name = "ZDQAPI::mlCamera3";
    {
        Helper holder({"hold", name});
        ASSERT_EQ(holder.ReadLine(), "held");
        EXPECT_TRUE(NamedClaim::Exists(name));
        holder.CloseStdin();  // ends normally
        holder.Wait();
    }
    EXPECT_FALSE(NamedClaim::Exists(name));
    {
        Helper holder({"hold", name});
        ASSERT_EQ(holder.ReadLine(), "held");
        EXPECT_TRUE(NamedClaim::Exists(name));
        holder.Kill();  // a crash releases the claim too
        holder.Wait();
    }
    EXPECT_FALSE(NamedClaim::Exists(name));
}

TEST(NamedClaimTest, OtherProcessSeesOurClaim) {
    const std::string name = "ZDQAPI::mlCamera4";
    EXPECT_EQ(ExistsInOtherProcess(name), 1);
    NamedClaim claim;
    ASSERT_TRUE(claim.Create(name));
    EXPECT_EQ(ExistsInOtherProcess(name), 0);
    claim.Close();
    EXPECT_EQ(ExistsInOtherProcess(name), 1);
}

TEST(NamedClaimTest, ChildProcessesDoNotInheritAClaim) {
    const std::string name = "ZDQAPI::mlCamera5";
    NamedClaim claim;
    ASSERT_TRUE(claim.Create(name));
    Helper child({"wait"});                  // started while we hold the claim
    ASSERT_EQ(child.ReadLine(), "waiting");  // past its exec
    claim.Close();
    EXPECT_FALSE(NamedClaim::Exists(name)) << "the child keeps a copy of the claim";
}

}  // namespace
