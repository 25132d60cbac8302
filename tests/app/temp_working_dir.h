// Runs each test in a fresh temporary folder as the working directory, with HOME inside it and
// XDG_CONFIG_HOME unset, so that the settings file of the tests lands neither in the source tree
// nor in the configuration folder of the user who runs them.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <sys/stat.h>

class TempWorkingDir : public ::testing::Test {
  protected:
    void SetUp() override {
        m_previous = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "veltrix-app-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        std::filesystem::current_path(m_dir);
        Save("HOME", m_savedHome);
        Save("XDG_CONFIG_HOME", m_savedXdg);
        ::setenv("HOME", Home().c_str(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
    }
    void TearDown() override {
        Restore("HOME", m_savedHome);
        Restore("XDG_CONFIG_HOME", m_savedXdg);
        std::filesystem::current_path(m_previous);
        std::error_code ec;
        std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_dir, ec);
    }

    std::filesystem::path Ini() const { return m_dir / "Veltrix.ini"; }
    // HOME of the test; made only by what the test writes.
    std::filesystem::path Home() const { return m_dir / "home"; }
    std::filesystem::path HomeConfigIni() const { return Home() / ".config" / "veltrix" / "Veltrix.ini"; }

    static void WriteFile(const std::filesystem::path& path, const std::string& text) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }
    static std::string ReadFile(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static mode_t ModeOf(const std::filesystem::path& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_mode & 07777;
    }
    // Names in the folder, to prove that no temporary file is left behind.
    size_t EntryCount() const {
        return static_cast<size_t>(
            std::distance(std::filesystem::directory_iterator(m_dir), std::filesystem::directory_iterator()));
    }

    std::filesystem::path m_dir;
    std::filesystem::path m_previous;

  private:
    static void Save(const char* name, std::optional<std::string>& slot) {
        if (const char* value = std::getenv(name)) slot = value;
    }
    static void Restore(const char* name, const std::optional<std::string>& slot) {
        if (slot)
            ::setenv(name, slot->c_str(), 1);
        else
            ::unsetenv(name);
    }
    std::optional<std::string> m_savedHome;
    std::optional<std::string> m_savedXdg;
};
