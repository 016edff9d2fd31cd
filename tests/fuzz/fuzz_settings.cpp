// Whatever a settings file holds, writing what was read and reading that
// back gives the same sections, keys and values, sections in the same order.
#include "FuzzSupport.h"
#include "core/SettingsStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QHash<QString, QHash<QString, QString>> read, readAgain;
    QStringList order, orderAgain;
    SettingsStore::parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), &read, &order);
    SettingsStore::parse(SettingsStore::serialize(read, order).toUtf8(), &readAgain, &orderAgain);
    FUZZ_CHECK(readAgain == read);
    order.removeIf([&](const QString& section) { return !read.contains(section); });  // nothing to write
    FUZZ_CHECK(orderAgain == order);
    return 0;
}
