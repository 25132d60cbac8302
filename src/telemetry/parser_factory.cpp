#include "parser_factory.h"

#include <string>

#include "mp4_reader.h"

std::unique_ptr<COrvexVideoParser> CreateVideoParser(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    if (name.ends_with(".AVI")) {
        // AVI reader (COrvexAviParser, avi_reader.h) goes here.
        return nullptr;
    }
    if (name.ends_with(".TS")) {
        // Transport stream reader (COrvexTsParser, ts_reader.h) goes here.
        return nullptr;
    }
    return std::make_unique<COrvex3gpParser>();
}
