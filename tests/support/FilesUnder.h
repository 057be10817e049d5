#pragma once

#include <map>

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

// Every file under a folder, hidden ones too, by its path inside the folder, with its bytes.
inline std::map<QString, QByteArray> filesUnder(const QString& folder) {
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        files[QDir(folder).relativeFilePath(path)] = file.readAll();
    }
    return files;
}
