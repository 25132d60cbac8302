// Helpers of the catalog tests: a temporary card and a reader stand-in that reports
// chosen media information per file name, so grouping and file operations can be tested
// on real files without depending on container contents.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "local_time.h"
#include "recording_catalog.h"

namespace catalog_test {

namespace fs = std::filesystem;

class TempCard {
  public:
    explicit TempCard(const std::string& name) {
        m_root = fs::temp_directory_path() / ("veltrix_catalog_" + name + "_" + std::to_string(::getpid()));
        fs::remove_all(m_root);
        fs::create_directories(m_root);
    }
    ~TempCard() {
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }
    const fs::path& Root() const { return m_root; }
    fs::path Write(const std::string& relative, const std::string& content = "x") const {
        const fs::path path = m_root / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

  private:
    fs::path m_root;
};

inline mode_t ModeOf(const fs::path& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}
inline void SetMode(const fs::path& path, mode_t mode) {
    ::chmod(path.c_str(), mode);
}
inline bool HasAnyWriteBit(const fs::path& path) {
    return (ModeOf(path) & 0222) != 0;
}

inline std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Media information by file name; files without one are rejected like unreadable files.
class FakeReaders {
  public:
    MediaInfo& Add(const std::string& name, int64_t start, uint32_t durationMs, uint64_t size = 1 << 20) {
        MediaInfo& info = m_infos[name];
        info.m_llStartTime = start;
        info.m_uDurationMs = durationMs;
        info.m_ullFileSize = size;
        info.m_wWidth = 1920;
        info.m_wHeight = 1080;
        return info;
    }
    CRecordingCatalog::ParserFactory Factory() const {
        return [this](const fs::path& path) -> std::unique_ptr<COrvexVideoParser> {
            ++m_created;
            return std::make_unique<Reader>(m_infos, path.filename().string());
        };
    }
    int Created() const { return m_created; }

  private:
    class Reader : public COrvexVideoParser {
      public:
        Reader(const std::map<std::string, MediaInfo>& infos, std::string name)
            : m_infos(infos), m_name(std::move(name)) {}
        void SetMediaInfo(MediaInfo* info) override { m_info = info; }
        int Parse(const fs::path&) override {
            const auto it = m_infos.find(m_name);
            if (it == m_infos.end() || !m_info) return -1;
            *m_info = it->second;
            return 0;
        }

      private:
        const std::map<std::string, MediaInfo>& m_infos;
        std::string m_name;
        MediaInfo* m_info = nullptr;
    };
    std::map<std::string, MediaInfo> m_infos;
    mutable int m_created = 0;
};

inline int64_t At(int year, int month, int day, int hour, int minute, int second) {
    return LocalWallClockToTime(year, month, day, hour, minute, second);
}

// Group lines whose state the test sets.
class LineState : public IGroupLineState {
  public:
    bool IsGroupLineSelected(size_t line) const override { return m_selected.count(line) != 0; }
    bool IsGroupLineTicked(size_t line) const override { return m_ticked.count(line) != 0; }
    std::set<size_t> m_selected, m_ticked;
};

class CountingObserver : public ICatalogObserver {
  public:
    void OnCatalogReset() override { ++resets; }
    void OnRowsChanged() override { ++rowsChanged; }
    int resets = 0, rowsChanged = 0;
};

} // namespace catalog_test
