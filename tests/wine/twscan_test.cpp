// twscan.exe run as a child process against copies of test_source.ds.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "hostkit/source_install.h"
#include "twain/platform.h"

namespace {

struct ChildRun {
    DWORD exitCode = 0xFFFFFFFF;
    std::vector<std::string> out;  // lines without line ends
    std::string err;
};

std::string ReadFile(const std::string& path) {
    std::string text;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return text;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    CloseHandle(file);
    return text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// twscan started with its standard output and error going to files.
struct RunningTwscan {
    PROCESS_INFORMATION process{};
    std::string outPath;
    std::string errPath;
};

bool StartTwscan(const std::string& arguments, RunningTwscan& running) {
    std::string directory = ProgramDirectory();
    running.outPath = directory + "\\twscan_out.txt";
    running.errPath = directory + "\\twscan_err.txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(running.outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0,
                             nullptr);
    HANDLE err = CreateFileA(running.errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0,
                             nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = err;
    std::string commandLine = "\"" + directory + "\\twscan.exe\" " + arguments;
    bool started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                  &running.process) != FALSE;
    CloseHandle(out);
    CloseHandle(err);
    return started;
}

ChildRun FinishTwscan(RunningTwscan& running) {
    ChildRun run;
    if (running.process.hProcess) {
        WaitForSingleObject(running.process.hProcess, 60000);
        GetExitCodeProcess(running.process.hProcess, &run.exitCode);
        CloseHandle(running.process.hThread);
        CloseHandle(running.process.hProcess);
    }
    run.out = Lines(ReadFile(running.outPath));
    run.err = ReadFile(running.errPath);
    return run;
}

ChildRun RunTwscan(const std::string& arguments) {
    RunningTwscan running;
    StartTwscan(arguments, running);
    return FinishTwscan(running);
}

// The visible dialog with a control 1003 (Cancel) that process `processId` shows.
struct DialogSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchChildDialog(HWND window, LPARAM search) {
    auto* wanted = reinterpret_cast<DialogSearch*>(search);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (processId != wanted->processId || lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(window) ||
        !GetDlgItem(window, 1003))
        return TRUE;
    wanted->found = window;
    return FALSE;
}

HWND WaitForChildDialog(DWORD processId) {
    for (int tries = 0; tries < 600; ++tries) {
        DialogSearch search{processId, nullptr};
        EnumWindows(MatchChildDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(50);
    }
    return nullptr;
}

class TwscanTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(InstallTestSource("ATEST\\first.ds"));
        ASSERT_TRUE(InstallTestSource("TESTSRC\\alpha.ds"));
        ASSERT_TRUE(InstallTestSource("TESTSRC\\deep\\beta.ds"));
        ASSERT_TRUE(InstallTestSource("TESTSRC\\failopen.ds"));
    }
};

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

TEST_F(TwscanTest, ListsEverySourceAsTabSeparatedFields) {
    ChildRun run = RunTwscan("--list");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    std::vector<std::string> names;
    for (const std::string& line : run.out) {
        std::vector<std::string> fields = Fields(line);
        ASSERT_EQ(fields.size(), 4u) << line;
        EXPECT_GT(std::stoul(fields[0]), 0ul) << line;
        if (fields[1] == "hostkit") {
            EXPECT_EQ(fields[2], "Test sources");
            names.push_back(fields[3]);
        }
    }
    EXPECT_EQ(names, (std::vector<std::string>{"first", "alpha", "beta", "failopen"}));
}

TEST_F(TwscanTest, InfoPrintsTheIdentityTheSourceReportedAtOpen) {
    ChildRun run = RunTwscan("--info --source beta");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    ASSERT_EQ(run.out.size(), 12u);
    EXPECT_EQ(run.out[0].compare(0, 4, "Id: "), 0);
    EXPECT_GT(std::stoul(run.out[0].substr(4)), 0ul);
    std::vector<std::string> rest(run.out.begin() + 1, run.out.end());
    EXPECT_EQ(rest, (std::vector<std::string>{"Version.MajorNum: 2", "Version.MinorNum: 3", "Version.Language: 13",
                                              "Version.Country: 1", "Version.Info: test\\nsource", "ProtocolMajor: 1",
                                              "ProtocolMinor: 5", "SupportedGroups: 3", "Manufacturer: hostkit",
                                              "ProductFamily: Test sources", "ProductName: beta"}));

    ChildRun byDefault = RunTwscan("--info");
    EXPECT_EQ(byDefault.exitCode, 0u) << byDefault.err;
    ASSERT_EQ(byDefault.out.size(), 12u);
    EXPECT_EQ(byDefault.out[11], "ProductName: first");
}

TEST_F(TwscanTest, FailuresNameTheTripletAndBothCodes) {
    ChildRun missing = RunTwscan("--info --source nosuch");
    EXPECT_EQ(missing.exitCode, 1u);
    EXPECT_TRUE(missing.out.empty());
    EXPECT_NE(missing.err.find("DG_CONTROL/DAT_IDENTITY/MSG_OPENDS"), std::string::npos) << missing.err;
    EXPECT_NE(missing.err.find("return code 1 (TWRC_FAILURE)"), std::string::npos) << missing.err;
    EXPECT_NE(missing.err.find("condition code 3 (TWCC_NODS)"), std::string::npos) << missing.err;

    ChildRun refused = RunTwscan("--info --source failopen");
    EXPECT_EQ(refused.exitCode, 1u);
    EXPECT_NE(refused.err.find("condition code 2 (TWCC_LOWMEMORY)"), std::string::npos) << refused.err;
}

TEST_F(TwscanTest, ClosingTheDialogEndsWithoutAnImage) {
    RunningTwscan running;
    ASSERT_TRUE(StartTwscan("--source \"A3 Flatbed Scanner\" --ui --out closed.bmp", running));
    HWND dialog = WaitForChildDialog(running.process.dwProcessId);
    EXPECT_NE(dialog, nullptr);
    if (dialog)
        PostMessageA(dialog, WM_COMMAND, 1003, 0);  // Cancel: the source asks to be closed
    else
        TerminateProcess(running.process.hProcess, 99);
    ChildRun run = FinishTwscan(running);
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_NE(run.err.find("the source's dialog was closed without a scan; no image written"), std::string::npos)
        << run.err;
    EXPECT_EQ(GetFileAttributesA("closed.bmp"), INVALID_FILE_ATTRIBUTES);
}

// The dialog's prescan, its picture copied; without the prescan module there
// is no picture and twscan says so.
TEST_F(TwscanTest, PrescanCopiesThePreviewPicture) {
    DeleteFileA("prescan.bmp");
    DeleteFileA("none.bmp");
    ChildRun run = RunTwscan("--source \"A3 Flatbed Scanner\" --prescan --out prescan.bmp");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    const std::string copied = ReadFile("prescan.bmp");
    EXPECT_EQ(copied.size(), 54u + 1056u * 510u);
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string installed = std::string(windows) + "\\" + kSourcesFolder + "\\KVSC_A3\\";
    EXPECT_TRUE(copied == ReadFile(installed + "ORVC0000.BMP"));

    ASSERT_TRUE(DeleteFileA((installed + "PRESCAN.DLL").c_str()));
    run = RunTwscan("--source \"A3 Flatbed Scanner\" --prescan --out none.bmp");
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_NE(run.err.find("the prescan left no picture"), std::string::npos) << run.err;
    // Nobody to press OK: the source's message is answered and printed.
    const size_t shown = run.err.find("twscan: the source showed a message: ");
    ASSERT_NE(shown, std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Write disk file error.", shown), std::string::npos) << run.err;
    EXPECT_EQ(GetFileAttributesA("none.bmp"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(TwscanTest, BadCommandLinesShowTheUsage) {
    ChildRun unknown = RunTwscan("--frobnicate");
    EXPECT_EQ(unknown.exitCode, 2u);
    EXPECT_NE(unknown.err.find("unknown option --frobnicate"), std::string::npos) << unknown.err;
    EXPECT_NE(unknown.err.find("usage: twscan"), std::string::npos);

    ChildRun help = RunTwscan("--help");
    EXPECT_EQ(help.exitCode, 0u);
    ASSERT_FALSE(help.out.empty());
    EXPECT_EQ(help.out[0].compare(0, 13, "usage: twscan"), 0);
}

}  // namespace
