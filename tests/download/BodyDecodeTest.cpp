// Response bodies: gzip and deflate are decoded here, damaged or oversized
// ones refused.

#include "Compress.h"

#include "core/Errors.h"
#include "download/HttpClient.h"

#include <gtest/gtest.h>

namespace lot {
namespace {

TEST(BodyDecode, EveryEncodingGivesThePage) {
    const QByteArray page = QByteArray("<html>") + QByteArray(20000, 'x') + QByteArray("</html>");
    EXPECT_EQ(DecodeBody(page, "", 1 << 20), page);
    EXPECT_EQ(DecodeBody(page, "identity", 1 << 20), page);
    EXPECT_EQ(DecodeBody(test::Compress(page, test::TWrap::Gzip), "gzip", 1 << 20), page);
    EXPECT_EQ(DecodeBody(test::Compress(page, test::TWrap::Gzip), " X-GZIP ", 1 << 20), page);
    EXPECT_EQ(DecodeBody(test::Compress(page, test::TWrap::Zlib), "deflate", 1 << 20), page);
    EXPECT_EQ(DecodeBody(test::Compress(page, test::TWrap::Raw), "deflate", 1 << 20), page);
}

TEST(BodyDecode, DamagedUnknownAndOversizedBodiesAreRefused) {
    const QByteArray page(100000, 'y');
    const QByteArray gz = test::Compress(page, test::TWrap::Gzip);
    EXPECT_THROW(DecodeBody(gz.left(gz.size() / 2), "gzip", 1 << 20), EError) << "cut";
    EXPECT_THROW(DecodeBody(QByteArray("not compressed"), "gzip", 1 << 20), EError);
    EXPECT_THROW(DecodeBody(gz, "br", 1 << 20), EError) << "an encoding we did not ask for";
    EXPECT_THROW(DecodeBody(gz, "gzip", 1000), EError) << "grows beyond the limit";
}

} // namespace
} // namespace lot
