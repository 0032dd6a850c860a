#include "shell/QtSettingsStore.h"

#include "platform/Failure.h"
#include "shell/QtStrings.h"

#include <QStandardPaths>

namespace quorvane {

namespace {

QString address(const std::string& section, const std::string& key) {
    return toQString(section) + u'/' + toQString(key);
}

} // namespace

QtSettingsStore::QtSettingsStore(const std::string& filePath) {
    const QString path = filePath.empty() ? defaultPath() : toQString(filePath);
    m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
}

// The user's configuration folder, as QSettings' own user scope would choose it, but with
// the ".conf" name the program has always used there.
QString QtSettingsStore::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Quorvane/Quorvane.conf");
}

std::string QtSettingsStore::fileName() const {
    return toStdString(m_settings->fileName());
}

void QtSettingsStore::check() const {
    switch (m_settings->status()) {
    case QSettings::NoError:
        return;
    case QSettings::AccessError:
        throw Failure(kAccessError, "Settings store cannot be accessed: " + fileName());
    case QSettings::FormatError:
        throw Failure(kFormatError, "Settings store is not readable: " + fileName());
    }
}

std::string QtSettingsStore::read(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) {
    const QVariant value = m_settings->value(address(section, key), toQString(defaultValue));
    check();
    // An unquoted value with commas, as typed into the file by hand, reads back as a list.
    if (value.typeId() == QMetaType::QStringList) {
        return toStdString(value.toStringList().join(u','));
    }
    return toStdString(value.toString());
}

void QtSettingsStore::write(const std::string& section, const std::string& key,
                            const std::string& value) {
    m_settings->setValue(address(section, key), toQString(value));
    // Written through at once, so that a failure is known here and not at exit.
    m_settings->sync();
    check();
}

} // namespace quorvane
