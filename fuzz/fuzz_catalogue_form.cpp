// libFuzzer harness for the catalogue server's form reader and its answers: any body on any
// of its paths gives a reply the client can read (rows or an error row), never a crash; the
// client's reply reader and the E escaping round trip on the same bytes.

#include "catalogue-server/CatalogueService.h"
#include "catalogue-server/FormReader.h"
#include "catalogue/CatalogueCodec.h"
#include "catalogue/CatalogueReply.h"
#include "core/Errors.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace lot;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

server::TCatalogueService &Service() {
    static int argc = 1;
    static char name[] = "fuzz_catalogue_form";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static server::TCatalogueService service(QStringLiteral(":memory:"));
    return service;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    const QByteArray body(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    try {
        const server::TForm form = server::TForm::Read(body);
        Check(form.Fields().size() <= server::TForm::MaxFields);
        for (const auto &field : form.Fields())
            Check(!field.first.isEmpty() && field.first.size() <= server::TForm::MaxNameSize);
    } catch (const EError &) {
    }

    // The first byte picks the path; the reply is always one the client reads or refuses.
    const QStringList paths = server::TCatalogueService::Paths();
    const QByteArray reply = Service().Handle(paths[data[0] % paths.size()], body);
    Check(reply.startsWith("<result>") && reply.endsWith("</result>"));
    try {
        ReadReply(reply);
    } catch (const EError &) {
    }
    try {
        ReadReply(body);
    } catch (const EError &) {
    }

    Check(CatalogueUnescape(CatalogueEscapeBytes(body)) == body);
    try {
        CatalogueUnescape(body);
    } catch (const EError &) {
    }
    return 0;
}
