#include "app/LookTexts.h"

#include <array>

namespace {

struct LookTexts {
    const char* lookSwitch;
    const char* notKept;
    const char* noAnswers;
};

// Russian, British, American, in the order of `Language`.
constexpr std::array<LookTexts, 3> kLookTexts = {{
    {"Высокий контраст",
     "Не удалось запомнить вид в файле %1 (%2). Вид выбран до закрытия программы.", "нет"},
    {"High contrast",
     "The look could not be kept in the file %1 (%2). It stays until the program is closed.",
     "none"},
    {"High contrast",
     "The look could not be saved in the file %1 (%2). It stays until the program is closed.",
     "none"},
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

QString statisticsKeyText(Language language, int mark) {
    // The error rates that bound the bands, the same in every language.
    constexpr const char* kBands[] = {"", "< 5 %", "5–11 %", "11–21 %", "> 21 %"};
    if (mark == 0) {
        return QString::fromUtf8(textsOf(language).noAnswers);
    }
    return QString::fromUtf8(kBands[mark]);
}
