#include "persistence/LookFile.h"

#include <QDir>

namespace persistence {

namespace {

const QByteArray kHighContrastWord = QByteArrayLiteral("high-contrast");
const QByteArray kDefaultWord = QByteArrayLiteral("default");

}  // namespace

QString lookFilePath(const QString& folder) {
    return QDir(folder).filePath(QLatin1String(kLookFileName));
}

ui::Look readLookFile(const QString& folder) {
    const auto read = readRegularFile(lookFilePath(folder), kLongestLookFile);
    const auto* content = std::get_if<std::optional<BoundedContent>>(&read);
    if (content == nullptr || !content->has_value() || (*content)->more) {
        return ui::Look::Default;
    }
    return (*content)->bytes.trimmed() == kHighContrastWord ? ui::Look::HighContrast
                                                            : ui::Look::Default;
}

std::optional<FileFailure> writeLookFile(const QString& folder, ui::Look look) {
    const QByteArray& word = look == ui::Look::HighContrast ? kHighContrastWord : kDefaultWord;
    return writeFileAtomically(lookFilePath(folder), word + '\n');
}

}  // namespace persistence
