#include "tests/support/FormFixture.h"

#include <QDir>
#include <QFile>

FormFixture::FormFixture() {
    form_ = std::make_unique<TForm3>(dataFolder(), clock, random, reporter);
}

TForm3& FormFixture::start() {
    form_->FormCreate();
    return *form_;
}

QByteArray FormFixture::readDataFile(const QString& name) const {
    QFile file(dataFile(name));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

void FormFixture::writeDataFile(const QString& name, const QByteArray& bytes) const {
    QDir().mkpath(dataFolder());
    QFile file(dataFile(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        ADD_FAILURE() << "cannot write " << name.toStdString();
    }
}
