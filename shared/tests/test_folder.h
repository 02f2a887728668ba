#pragma once
// A fresh folder under %TEMP% for one test, removed with everything in it
// when the test ends. Its path ends in a backslash, like an install folder.

#include <string>

namespace gm::test {

class TestFolder {
  public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

    static std::string ReadFile(const std::string& path);
    static void WriteFile(const std::string& path, const std::string& bytes);
    static bool Exists(const std::string& path);

  private:
    std::string path_;
};

// Removes a folder (its path ends in a backslash) with everything in it.
void RemoveTree(const std::string& folder);

// Ends every process whose program lies inside `folder`.
void KillProcessesIn(const std::string& folder);

// A name no other test process uses at the same time.
std::string UniqueName(const char* stem);

} // namespace gm::test
