// What the application model's tests share: a private temporary folder with TMPDIR pointing into
// it, a message box that records texts and gives scripted answers, and small file helpers.
#pragma once

#include "platform/MessageBox.h"
#include "project/PathUtils.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

namespace quillon::apptest {

// The recording stand-in runtime the build places beside the editor: put into a project as
// "GMK_RT.exe", it appends its command line to "GMK_RT.log" there.
inline std::string RecordingRuntime() { return std::string(QUILLON_BINARY_DIR) + "/bin/GMK_RT-standin.exe.dat"; }

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// TMPDIR points at "<root>/tmp" for the test (so the editor's working folder lies there) and
// mProject is an empty project folder ending in '/'.
class TTempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("TMPDIR"))
            mOldTmpDir = old;
        std::string pattern = (std::filesystem::temp_directory_path() / "quillon-app-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        mRoot = pattern;
        std::filesystem::create_directories(mRoot + "/tmp");
        std::filesystem::create_directories(mRoot + "/project");
        ::setenv("TMPDIR", (mRoot + "/tmp").c_str(), 1);
        mProject = mRoot + "/project/";
    }
    void TearDown() override {
        if (mOldTmpDir)
            ::setenv("TMPDIR", mOldTmpDir->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        std::error_code ignored;
        std::filesystem::remove_all(mRoot, ignored);
    }

    std::optional<std::string> mOldTmpDir;
    std::string mRoot;
    std::string mProject;
};

// Records every message and answers from the script (then Yes to questions, Ok otherwise).
class TRecordingMessageBox final : public IMessageBox {
public:
    std::vector<std::string> Texts;
    std::vector<int> Flags;
    std::deque<int> Answers;

    TRecordingMessageBox() { mPrevious = SetMessageBox(this); }
    ~TRecordingMessageBox() override { SetMessageBox(mPrevious); }
    int Show(const std::string& text, int flags, const void*) override {
        Texts.push_back(text);
        Flags.push_back(flags);
        if (!Answers.empty()) {
            const int answer = Answers.front();
            Answers.pop_front();
            return answer;
        }
        return (flags & 0x0F) == mbOk ? mrOk : mrYes;
    }

private:
    IMessageBox* mPrevious = nullptr;
};

// Makes a folder the current directory for the scope.
class TCurrentDir {
public:
    explicit TCurrentDir(const std::string& folder) : mOld(GetCurrentDir()) { SetCurrentDir(folder); }
    ~TCurrentDir() { SetCurrentDir(mOld); }

private:
    std::string mOld;
};

}  // namespace quillon::apptest
