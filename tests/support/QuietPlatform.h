#pragma once

#include <QString>
#include <QtGlobal>

namespace testsupport {

// The offscreen platform the GUI tests run on says, as warnings, that it
// cannot raise windows, grab the keyboard or pass on size hints. Nothing of
// the client is wrong then, so these notices are dropped; every other message
// reaches QtTest as before. Call in initTestCase(), after QtTest has put its
// own message handler in place.
inline void HideOffscreenPlatformNotices()
{
    // Once only: a second handler would take the first for QtTest's and
    // call itself for ever.
    static QtMessageHandler s_testHandler = nullptr;
    if (s_testHandler)
        return;
    s_testHandler = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &text) {
        if (type == QtWarningMsg && text.startsWith(QStringView(u"This plugin does not support ")))
            return;
        s_testHandler(type, context, text);
    });
}

} // namespace testsupport
