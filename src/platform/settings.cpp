#include "settings.h"

#include <QHash>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>

#include <cmath>

namespace terravale {

namespace {
const QString kScaleKey = QStringLiteral("display/scale");
const QString kAnswerKeyKey = QStringLiteral("print/answerKey");
} // namespace

double Settings::scale(double fallback) const
{
    bool ok = false;
    const double stored = value(kScaleKey).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(stored) || stored < kMinScale || stored > kMaxScale)
        return fallback;
    return stored;
}

void Settings::setScale(double factor)
{
    if (std::isfinite(factor) && factor >= kMinScale && factor <= kMaxScale)
        setValue(kScaleKey, QString::number(factor, 'g', QLocale::FloatingPointShortest));
}

bool Settings::printAnswerKey() const
{
    const QString stored = value(kAnswerKeyKey).trimmed();
    for (const char *no : {"false", "no", "0", "off"}) {
        if (stored.compare(QLatin1String(no), Qt::CaseInsensitive) == 0)
            return false;
    }
    return true;
}

void Settings::setPrintAnswerKey(bool print)
{
    setValue(kAnswerKeyKey, print ? QStringLiteral("true") : QStringLiteral("false"));
}

struct FileSettings::Store {
    explicit Store(const QString &file)
    {
        if (!file.isEmpty())
            settings = std::make_unique<QSettings>(file, QSettings::IniFormat);
    }
    std::unique_ptr<QSettings> settings;
    QHash<QString, QString> memory;   // without a file
};

FileSettings::FileSettings() : FileSettings(defaultFile()) {}

FileSettings::FileSettings(const QString &file) : d(std::make_unique<Store>(file)) {}

FileSettings::~FileSettings() = default;

QString FileSettings::defaultFile()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/terravale/terravale.conf");
}

QString FileSettings::file() const { return d->settings ? d->settings->fileName() : QString(); }

QString FileSettings::value(const QString &key) const
{
    if (!d->settings)
        return d->memory.value(key);
    // A line the INI reader takes for a list (an unquoted comma) is no usable value.
    const QVariant stored = d->settings->value(key);
    if (stored.typeId() != QMetaType::QString)
        return QString();
    return stored.toString();
}

void FileSettings::setValue(const QString &key, const QString &value)
{
    if (!d->settings) {
        d->memory.insert(key, value);
        return;
    }
    d->settings->setValue(key, value);
    d->settings->sync();   // an unwritable file keeps the change in memory, for this run only
}

namespace {
std::shared_ptr<Settings> &current()
{
    static std::shared_ptr<Settings> settings;
    return settings;
}
} // namespace

Settings &settings()
{
    if (!current())
        current() = std::make_shared<FileSettings>();
    return *current();
}

void setSettings(std::shared_ptr<Settings> settings) { current() = std::move(settings); }

} // namespace terravale
