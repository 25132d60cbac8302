// Shared helpers of the telemetry reader tests: a scratch folder and parsing a byte string.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "box_bytes.h"
#include "mp4_reader.h"

class ScratchFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::temp_directory_path() /
                ("veltrix-telemetry-" + std::to_string(::getpid()) + "-" + info->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::filesystem::path Write(const std::string& name, const boxes::Bytes& bytes) {
        const auto path = m_dir / name;
        boxes::WriteFile(path, bytes);
        return path;
    }
    // Parses `bytes` as a file; returns Parse's result and leaves the reader's findings in `info`.
    int ParseBytes(const boxes::Bytes& bytes, MediaInfo& info, TelemetryLayout* layout = nullptr) {
        COrvex3gpParser parser;
        parser.SetMediaInfo(&info);
        const int rc = parser.Parse(Write("rec.MP4", bytes));
        if (layout) *layout = parser.Layout();
        return rc;
    }

    std::filesystem::path m_dir;
};
