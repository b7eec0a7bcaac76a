// Test fixture for the storage tests: each test runs in a fresh, empty current directory.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <grp.h>
#include <iterator>
#include <pwd.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "StorageEntryRowPrint.h"
#include "tests/TestFolder.h"
#include "storage/FileOps.h"

class CStorageDirTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder.Enter("vantrell-storage");
        m_strDir = m_folder.GetPath();
    }

    void TearDown() override
    {
        CurrentFileOps() = SystemFileOps();
        m_folder.Leave();
    }

    static void WriteBytes(const std::string& strName, const std::string& strBytes)
    {
        std::ofstream out(strName, std::ios::binary | std::ios::trunc);
        out << strBytes;
        ASSERT_TRUE(out.good()) << strName;
    }

    static std::string ReadBytes(const std::string& strName)
    {
        struct stat st;
        if (stat(strName.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            return "(no regular file)";
        std::ifstream in(strName, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static bool Exists(const std::string& strName)
    {
        struct stat st;
        return lstat(strName.c_str(), &st) == 0;
    }

    static mode_t ModeOf(const std::string& strName)
    {
        struct stat st;
        return stat(strName.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
    }

    // The names in a folder, sorted, without "." and "..": shows any temporary file left behind.
    static std::vector<std::string> ListDir(const std::string& strDir = ".")
    {
        std::vector<std::string> names;
        if (DIR* pDir = opendir(strDir.c_str()))
        {
            while (dirent* pEntry = readdir(pDir))
            {
                const std::string strName = pEntry->d_name;
                if (strName != "." && strName != "..")
                    names.push_back(strName);
            }
            closedir(pDir);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // Runs fn in a forked child and gives its exit code, or 128 + signal when it was killed.
    template <typename F> static int RunInChild(F fn)
    {
        fflush(nullptr);
        const pid_t nPid = fork();
        if (nPid == 0)
            _exit(fn());
        int nStatus = 0;
        if (nPid < 0 || waitpid(nPid, &nStatus, 0) != nPid)
            return -1;
        return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : 128 + WTERMSIG(nStatus);
    }

    // Runs fn in a forked child as the ordinary user "nobody": root passes every permission check.
    template <typename F> static int RunAsNobody(F fn)
    {
        return RunInChild([&fn] {
            const passwd* pUser = getpwnam("nobody");
            if (!pUser || setgroups(0, nullptr) != 0 || setresgid(pUser->pw_gid, pUser->pw_gid, pUser->pw_gid) != 0 ||
                setresuid(pUser->pw_uid, pUser->pw_uid, pUser->pw_uid) != 0)
                return 99;
            return fn();
        });
    }

    // Gives a folder made by the test to "nobody", so that a child running as that user may work in it.
    static void GiveToNobody(const std::string& strPath)
    {
        const passwd* pUser = getpwnam("nobody");
        ASSERT_NE(pUser, nullptr);
        ASSERT_EQ(chown(strPath.c_str(), pUser->pw_uid, pUser->pw_gid), 0) << strPath;
    }

    // A child whose files may grow to nLimit bytes; a longer write fails instead of killing it.
    static void LimitFileSize(rlim_t nLimit)
    {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {nLimit, nLimit};
        setrlimit(RLIMIT_FSIZE, &limit);
    }

    std::string m_strDir;

private:
    CTestFolder m_folder;
};
