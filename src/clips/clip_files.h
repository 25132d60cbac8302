// The files a clip export makes on its way: a private folder for the cue files, the partial MP4
// beside the target, and the move of the finished MP4 to its name. Each removes what it made
// unless told the work is done.
#pragma once

#include <filesystem>
#include <string>

// A fresh folder under the temporary folder, removed with everything in it at the end.
class WorkFolder {
  public:
    WorkFolder() = default;
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    bool Create(std::string& error);
    const std::filesystem::path& Path() const { return m_path; }

  private:
    std::filesystem::path m_path;
};

// A new, empty file beside `target` with a hidden name of its own, removed at the end unless
// Commit moved it to `target`.
class PartialOutput {
  public:
    PartialOutput() = default;
    ~PartialOutput();
    PartialOutput(const PartialOutput&) = delete;
    PartialOutput& operator=(const PartialOutput&) = delete;

    bool Create(const std::filesystem::path& target, std::string& error);
    const std::filesystem::path& Path() const { return m_path; }

    // Flushes the file to the disk and gives it the target's name. Without `replace`, an existing
    // target is never touched (also one that appeared while the export ran): false with `error`.
    bool Commit(bool replace, std::string& error);

  private:
    std::filesystem::path m_path;
    std::filesystem::path m_target;
};

// Writes `text` to a new file at `path`; false with `error` in words.
bool WriteTextFile(const std::filesystem::path& path, const std::string& text, std::string& error);
