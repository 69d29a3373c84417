#pragma once
#include "platform/settings.h"

#include <QHash>

namespace terravale::test {

// Settings kept in memory; tests read and plant the stored text directly.
class MemorySettings : public Settings {
public:
    QString value(const QString &key) const override { return values.value(key); }
    void setValue(const QString &key, const QString &value) override { values.insert(key, value); }
    QHash<QString, QString> values;
};

} // namespace terravale::test
