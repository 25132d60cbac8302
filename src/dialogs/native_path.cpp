#include "native_path.h"

#include <QFile>

namespace fs = std::filesystem;

namespace {

// The one entry of `folder` whose name decodes to `shown`, or empty.
fs::path EntryShownAs(const fs::path& folder, const QString& shown) {
    std::error_code error;
    fs::path found;
    int matches = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder.empty() ? "." : folder, error)) {
        const std::string& name = entry.path().filename().native();
        if (QFile::decodeName(QByteArray::fromStdString(name)) != shown) continue;
        found = entry.path().filename();
        if (++matches > 1) return {};
    }
    return found;
}

} // namespace

fs::path NativePathOf(const QString& shown) {
    if (!shown.contains(QChar::ReplacementCharacter)) return fs::path(QFile::encodeName(shown).toStdString());
    fs::path path = shown.startsWith('/') ? fs::path("/") : fs::path();
    for (const QString& name : shown.split('/', Qt::SkipEmptyParts)) {
        if (!name.contains(QChar::ReplacementCharacter)) {
            path /= QFile::encodeName(name).toStdString();
            continue;
        }
        const fs::path entry = EntryShownAs(path, name);
        if (entry.empty()) return {};
        path /= entry;
    }
    return path;
}
