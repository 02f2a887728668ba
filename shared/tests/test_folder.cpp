#include "shared/tests/test_folder.h"

#include <windows.h>
#include <tlhelp32.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace gm::test {
namespace {

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
    return s.size() >= prefix.size() && ::_strnicmp(s.c_str(), prefix.c_str(), prefix.size()) == 0;
}

} // namespace

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((dir + "*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = fd.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string full = dir + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full + "\\");
            else
                ::DeleteFileA(full.c_str());
        } while (::FindNextFileA(h, &fd));
        ::FindClose(h);
    }
    ::RemoveDirectoryA(dir.c_str());
}

void KillProcessesIn(const std::string& folder) {
    HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = ::Process32First(snap, &entry); ok; ok = ::Process32Next(snap, &entry)) {
        if (entry.th32ProcessID == ::GetCurrentProcessId())
            continue;
        HANDLE p =
            ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE,
                          FALSE, entry.th32ProcessID);
        if (!p)
            continue;
        char path[MAX_PATH * 2];
        DWORD size = sizeof path;
        if (::QueryFullProcessImageNameA(p, 0, path, &size) &&
            StartsWithNoCase(std::string(path, size), folder)) {
            ::TerminateProcess(p, 9);
            ::WaitForSingleObject(p, 5000);
        }
        ::CloseHandle(p);
    }
    ::CloseHandle(snap);
}

std::string UniqueName(const char* stem) {
    static std::atomic<int> counter{0};
    char name[128];
    std::snprintf(name, sizeof name, "%s_%lu_%lu_%d", stem, ::GetCurrentProcessId(),
                  ::GetTickCount(), counter++);
    return name;
}

TestFolder::TestFolder() {
    char temp[MAX_PATH];
    ::GetTempPathA(sizeof temp, temp);
    path_ = std::string(temp) + UniqueName("gmtest") + "\\";
    ::CreateDirectoryA(path_.c_str(), nullptr);
}

TestFolder::~TestFolder() {
    // Whatever a test started from here (and did not end) goes with it, so
    // no stray program outlives its test.
    KillProcessesIn(path_);
    RemoveTree(path_);
}

std::string TestFolder::ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void TestFolder::WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool TestFolder::Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace gm::test
