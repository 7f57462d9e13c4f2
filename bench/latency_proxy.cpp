// A TCP link with a round trip of twice the delay, for trying the client or
// the benchmarks against a distant PostgreSQL server:
//
//   latency_proxy HOST:PORT [DELAY_MS]
//
// listens on a free port of 127.0.0.1, prints it on a line of its own, and
// passes every chunk on to HOST:PORT (and back) DELAY_MS milliseconds (10 by
// default) after it came, until it is ended.

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include "LatencyProxy.h"

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList arguments = app.arguments().mid(1);
    const QString upstream = arguments.value(0);
    const qsizetype colon = upstream.lastIndexOf(u':');
    bool portOk = false;
    bool delayOk = arguments.size() < 2;
    const int port = colon > 0 ? upstream.mid(colon + 1).toInt(&portOk) : 0;
    const int delay = arguments.size() < 2 ? 10 : arguments[1].toInt(&delayOk);
    if (arguments.isEmpty() || arguments.size() > 2 || !portOk || port < 1 || port > 65535 || !delayOk || delay < 0) {
        err << "Aufruf: latency_proxy HOST:PORT [VERZÖGERUNG_MS]\n";
        return 2;
    }
    LatencyProxy proxy(upstream.left(colon), quint16(port), delay);
    if (!proxy.listen()) {
        err << "latency_proxy: " << proxy.errorString() << "\n";
        return 1;
    }
    out << proxy.port() << Qt::endl;
    return QCoreApplication::exec();
}
