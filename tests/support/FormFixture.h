#pragma once

#include <memory>

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "app/Form.h"

// A form over its own empty data folder, with a clock that stands still and scripted random
// draws. The form is made but not started: call start() to run FormCreate.
class FormFixture : public ::testing::Test {
protected:
    static constexpr double kStartMoment = 46000.5;  // 2025-12-09, noon

    FormFixture();

    TForm3& start();
    TForm3& form() { return *form_; }

    QString dataFolder() const { return folder_.path() + QStringLiteral("/Kestrova/"); }
    QString dataFile(const QString& name) const { return dataFolder() + name; }
    QByteArray readDataFile(const QString& name) const;
    void writeDataFile(const QString& name, const QByteArray& bytes) const;

    QTemporaryDir folder_;
    ui::FixedClock clock{kStartMoment};
    ui::ScriptedRandom random;
    ui::CollectingErrorReporter reporter;
    std::unique_ptr<TForm3> form_;
};
