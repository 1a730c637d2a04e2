// Any bytes as a text file of the installation: decoded from code page 932
// as every file is, then read value by value by the list-input reader, and
// looked over as the records tool's check does.
#include "fuzz_support.h"

#include "base/file_error.h"
#include "base/text_file.h"
#include "base/text_file_check.h"
#include "base/text_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = inputBytes(data, size);
    const QString text = decodeTextFile(bytes);

    // Decoding: what valid bytes decode to can be written back, and reads
    // the same again (the roster editor relies on it for the fields it keeps).
    const qsizetype stop = bytes.indexOf('\x1A');
    const QByteArray content = stop < 0 ? bytes : bytes.left(stop);
    FUZZ_CHECK(text.size() <= content.size());
    qsizetype bad = -1;
    if (cp932HasInvalidBytes(content, &bad)) {
        FUZZ_CHECK(bad >= 0 && bad < content.size());
        FUZZ_CHECK(text.contains(QChar(0xFFFD)));
    } else {
        FUZZ_CHECK(cp932FirstUnencodable(text) < 0);
        FUZZ_CHECK(decodeCp932(encodeCp932(text)) == text);
    }

    // Reading: every value moves the reader on, reading past the end is a
    // FileError, and values keep the convention's shape. The kind of read
    // changes from value to value, as the settings files mix them.
    ListReader in(text, QStringLiteral("fuzz.txt"), QStringLiteral("/fuzz.txt"));
    for (int i = 0; !in.atEnd(); ++i) {
        const qsizetype before = in.position();
        switch (i % 4) {
        case 0: {
            const ListValue v = in.readValue();
            FUZZ_CHECK(!v.text.contains(u'\r') && !v.text.contains(u'\n'));
            if (!v.quoted) {
                FUZZ_CHECK(!v.text.contains(u','));
                FUZZ_CHECK(v.text == trimBlanks(v.text));
            }
            break;
        }
        case 1: {
            const double v = in.readNumber();
            FUZZ_CHECK(v == v); // never NaN
            break;
        }
        case 2: in.readInt32(); break;
        case 3: in.readInt16(); break;
        }
        FUZZ_CHECK(in.position() > before);
        FUZZ_CHECK(in.valuesRead() == i + 1);
    }
    bool threw = false;
    try {
        in.readValue();
    } catch (const FileError& e) {
        threw = e.message().contains(QStringLiteral("fuzz.txt"));
    }
    FUZZ_CHECK(threw);

    // The records tool's checks: findings name lines that exist, in order.
    const int lines = int(content.count('\n') + content.count('\r')) + 1;
    int last = 0;
    for (const TextFileFinding& f : encodingFindings(bytes)) {
        FUZZ_CHECK(f.line >= 1 && f.line <= lines && f.line >= last && !f.text.isEmpty());
        last = f.line;
    }
    last = 0;
    for (const TextFileFinding& f : levelTableRowFindings(text)) {
        FUZZ_CHECK(f.line >= 1 && f.line <= lines && f.line > last);
        last = f.line;
    }
    return 0;
}
