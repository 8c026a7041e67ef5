#include "app/LauncherProgress.h"

#ifdef VELTRONA_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariantMap>
#endif

namespace dbcopy {

#ifdef VELTRONA_HAVE_DBUS

void LauncherProgress::show(double fraction, bool visible) noexcept {
    try {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected()) return;
        QDBusMessage signal = QDBusMessage::createSignal(
            QStringLiteral("/"), QStringLiteral("com.canonical.Unity.LauncherEntry"),
            QStringLiteral("Update"));
        const QVariantMap properties{{QStringLiteral("progress"), fraction},
                                     {QStringLiteral("progress-visible"), visible}};
        signal << QStringLiteral("application://example.veltrona.VeltronaDBCopy.desktop")
               << properties;
        bus.send(signal);
    } catch (...) {
        // The task bar is a convenience; the run goes on without it.
    }
}

#else

void LauncherProgress::show(double /*fraction*/, bool /*visible*/) noexcept {}

#endif

}  // namespace dbcopy
