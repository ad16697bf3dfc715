#pragma once
// Opening a web page in the user's browser: returns at once, shows nothing, reports
// nothing, keeps nothing.
#include <QString>
#include <QStringList>

namespace quenlio {

void OpenWebPage(const QString& address);

namespace web {
// While a Hook is alive OpenWebPage records the address instead of opening it.
class Hook {
public:
    Hook();
    ~Hook();
    Hook(const Hook&) = delete;
    Hook& operator=(const Hook&) = delete;
    const QStringList& opened() const { return m_opened; }
    void clear() { m_opened.clear(); }

private:
    friend void quenlio::OpenWebPage(const QString&);
    QStringList m_opened;
};
} // namespace web

} // namespace quenlio
