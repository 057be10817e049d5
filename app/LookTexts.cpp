#include "app/LookTexts.h"

#include <array>

namespace {

struct LookTexts {
    const char* lookSwitch;
    const char* notKept;
};

// Russian, British, American, in the order of `Language`.
constexpr std::array<LookTexts, 3> kLookTexts = {{
    {"Высокий контраст",
     "Не удалось запомнить вид в файле %1 (%2). Вид выбран до закрытия программы."},
    {"High contrast",
     "The look could not be kept in the file %1 (%2). It stays until the program is closed."},
    {"High contrast",
     "The look could not be saved in the file %1 (%2). It stays until the program is closed."},
}};

const LookTexts& textsOf(Language language) {
    return kLookTexts.at(static_cast<std::size_t>(language));
}

}  // namespace

QString lookSwitchText(Language language) {
    return QString::fromUtf8(textsOf(language).lookSwitch);
}

QString lookNotKeptText(Language language) {
    return QString::fromUtf8(textsOf(language).notKept);
}
