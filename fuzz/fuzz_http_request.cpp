// Any bytes from a web client, in the pieces a socket delivers, through the request reader.
#include "FuzzSupport.h"

#include "web/HttpRequestReader.h"

using namespace vexlor;
using web::HttpRequestReader;
using Outcome = HttpRequestReader::Outcome;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    HttpRequestReader reader;
    int requests = 0;
    for (const QByteArray& piece : fuzz::arrivals(fuzz::bytesOf(data, size))) {
        Outcome outcome = reader.feed(piece);
        while (outcome == Outcome::Ready) {
            const auto& r = reader.request();
            VEXLOR_FUZZ_CHECK(r.path.startsWith('/'));
            VEXLOR_FUZZ_CHECK(r.method == "GET" || r.method == "HEAD" || r.method == "POST");
            VEXLOR_FUZZ_CHECK(r.body.size() <= HttpRequestReader::kMaxBody);
            VEXLOR_FUZZ_CHECK(r.headers.size() <= HttpRequestReader::kMaxHeaders);
            for (const auto& [name, value] : r.headers)
                VEXLOR_FUZZ_CHECK(name == name.toLower() && !value.startsWith(' ') && !value.endsWith(' '));
            VEXLOR_FUZZ_CHECK(++requests <= int(size));
            outcome = reader.next();
        }
        if (outcome == Outcome::Refused) {
            const int s = reader.refusal();
            VEXLOR_FUZZ_CHECK(s == 400 || s == 405 || s == 411 || s == 413 || s == 431 || s == 501 || s == 505);
            VEXLOR_FUZZ_CHECK(reader.feed(piece) == Outcome::Refused);
            break;
        }
    }
    return 0;
}
