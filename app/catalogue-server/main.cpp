#include "catalogue-server/CatalogueServer.h"
#include "catalogue-server/CatalogueService.h"
#include "core/Errors.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    try {
        bool help = false;
        const lot::server::TServerOptions options =
            lot::server::ParseServerOptions(app.arguments().mid(1), help);
        if (help) {
            out << lot::server::ServerUsage();
            return 0;
        }
        if (!options.ReleaseMails.isEmpty()) {
            lot::server::TCatalogueService service(options.Database);
            for (const QString &mail : options.ReleaseMails)
                out << mail << (service.ReleaseMail(mail) ? ": released" : ": no key was tied to it")
                    << Qt::endl;
            return 0;
        }
        lot::server::TCatalogueServer server(options);
        // Tests and scripts read the address (with the chosen port) from this line.
        out << "Listening on " << server.Url() << Qt::endl;
        return app.exec();
    } catch (const std::exception &e) {
        err << lot::ExceptionText(e) << Qt::endl << Qt::endl << lot::server::ServerUsage();
        return 2;
    }
}
