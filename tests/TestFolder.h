// A fresh, empty current folder for one test, removed with all it holds when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <ftw.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

class CTestFolder
{
public:
    // Every file of the tool lives in its current directory, so the test works in the new folder.
    void Enter(const char* pszPrefix)
    {
        char szCwd[PATH_MAX];
        ASSERT_NE(getcwd(szCwd, sizeof szCwd), nullptr);
        m_strFormerCwd = szCwd;
        const char* pszTmp = std::getenv("TMPDIR");
        std::string strTemplate = std::string(pszTmp && *pszTmp ? pszTmp : "/tmp") + "/" + pszPrefix + "-XXXXXX";
        ASSERT_NE(mkdtemp(&strTemplate[0]), nullptr);
        m_strPath = strTemplate;
        ASSERT_EQ(chdir(m_strPath.c_str()), 0);
    }

    void Leave()
    {
        if (m_strPath.empty())
            return;
        ASSERT_EQ(chdir(m_strFormerCwd.c_str()), 0);
        nftw(m_strPath.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
        m_strPath.clear();
    }

    const std::string& GetPath() const { return m_strPath; }

private:
    // Folders a test made read-only are opened up first, so they can be emptied.
    static int RemoveEntry(const char* pszPath, const struct stat*, int nType, struct FTW*)
    {
        if (nType == FTW_DP)
            chmod(pszPath, 0700);
        return remove(pszPath);
    }

    std::string m_strPath;
    std::string m_strFormerCwd;
};
