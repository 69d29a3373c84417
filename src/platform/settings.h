#pragma once
#include <QString>
#include <memory>

namespace terravale {

// The few choices each user keeps between runs. Never fails: a value that is missing or unusable
// reads as the default, and a change the store cannot keep lasts for this run only, without a word.
class Settings {
public:
    virtual ~Settings() = default;

    // The stored text of a key ("group/name"); a null string when there is none.
    virtual QString value(const QString &key) const = 0;
    virtual void setValue(const QString &key, const QString &value) = 0;

    // Display scale factor; the fallback when none is stored or the stored one is out of range.
    double scale(double fallback) const;
    // A factor outside [kMinScale, kMaxScale] is not stored.
    void setScale(double factor);
    // Whether printed worksheets come with an answer key; yes unless the user said no.
    bool printAnswerKey() const;
    void setPrintAnswerKey(bool print);

    static constexpr double kMinScale = 0.5;
    static constexpr double kMaxScale = 4.0;
};

// The user's own file, $XDG_CONFIG_HOME/terravale/terravale.conf (INI), read when created and
// written at each change. Without a file name (no home folder) the values live in memory only.
class FileSettings : public Settings {
public:
    FileSettings();
    explicit FileSettings(const QString &file);
    ~FileSettings() override;
    QString value(const QString &key) const override;
    void setValue(const QString &key, const QString &value) override;

    QString file() const;
    static QString defaultFile();

private:
    struct Store;
    std::unique_ptr<Store> d;
};

Settings &settings();
void setSettings(std::shared_ptr<Settings> settings);

} // namespace terravale
