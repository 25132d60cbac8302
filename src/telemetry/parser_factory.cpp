#include "parser_factory.h"

#include <string>

#include "avi_reader.h"
#include "mp4_reader.h"
#include "ts_reader.h"

std::unique_ptr<COrvexVideoParser> CreateVideoParser(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    if (name.ends_with(".AVI")) {
        return std::make_unique<COrvexAviParser>();
    }
    if (name.ends_with(".TS")) {
        return std::make_unique<COrvexTsParser>();
    }
    return std::make_unique<COrvex3gpParser>();
}
