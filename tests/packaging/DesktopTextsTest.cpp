#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <QXmlStreamReader>

#include "app/Texts.h"
#include "report/ReportTexts.h"

namespace {

constexpr int kTitleLineEntry = 35;

QString readAll(const char* path) {
    QFile file(QString::fromUtf8(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    return QString::fromUtf8(file.readAll());
}

QString desktopEntryValue(const QString& key) {
    const QString prefix = key + QLatin1Char('=');
    for (const QString& line : readAll(KESTROVA_DESKTOP_ENTRY).split(QLatin1Char('\n'))) {
        if (line.startsWith(prefix)) {
            return line.mid(prefix.size());
        }
    }
    return QStringLiteral("<no %1>").arg(key);
}

QString metainfoSummary(const QString& language) {
    QXmlStreamReader xml(readAll(KESTROVA_METAINFO));
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"summary" &&
            xml.attributes().value(QLatin1String("xml:lang")) == language) {
            return xml.readElementText();
        }
    }
    return QStringLiteral("<no summary in '%1'>").arg(language);
}

QString titleLine(int row) {
    // The title page spaces it out for its picture; a menu shows it plain.
    return QString::fromUtf8(UiText[row][kTitleLineEntry]).simplified();
}

}  // namespace

TEST(MenuEntryAndSoftwareCentre, DescribeTheProgramWithTheTitleLineOfEachLanguage) {
    struct Case {
        const char* where;
        QString shown;
        int row;
    };
    const Case cases[] = {
        {"menu entry, Russian", desktopEntryValue(QStringLiteral("Comment[ru]")), 1},
        {"menu entry, English", desktopEntryValue(QStringLiteral("Comment")), 2},
        {"software centre, Russian", metainfoSummary(QStringLiteral("ru")), 1},
        {"software centre, English", metainfoSummary(QString()), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        EXPECT_EQ(c.shown.toStdString(), titleLine(c.row).toStdString());
    }
}

TEST(MenuEntryAndSoftwareCentre, OffersTheProgressReportInTheReportsOwnWords) {
    // The keys of the action's group, which follows the entry's own.
    const QString entry = readAll(KESTROVA_DESKTOP_ENTRY);
    const qsizetype group = entry.indexOf(QStringLiteral("\n[Desktop Action progress-report]\n"));
    ASSERT_GE(group, 0) << entry.toStdString();
    EXPECT_TRUE(entry.left(group).contains(QStringLiteral("\nActions=progress-report;\n")));
    const QStringList keys = entry.mid(group).split(QLatin1Char('\n'));
    EXPECT_TRUE(keys.contains(QStringLiteral("Name=") +
                              report::text(report::Language::British, report::Text::Title)));
    EXPECT_TRUE(keys.contains(QStringLiteral("Name[ru]=") +
                              report::text(report::Language::Russian, report::Text::Title)));
    EXPECT_TRUE(keys.contains(QStringLiteral("Exec=kestrova --open-report")));
}
