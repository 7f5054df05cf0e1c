#include "platform/PropertyListCheck.h"

#include <QObject>

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace quorvel::PropertyListCheck {

namespace {

using Bytes = const unsigned char*;

QString tooManyObjects()
{
    return QObject::tr("The property list holds too many objects.");
}

QString numberOutOfRange()
{
    return QObject::tr("The property list holds a number beyond the range it can be read in.");
}

quint64 readBigEndian(Bytes p, int size)
{
    quint64 value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | p[i];
    return value;
}

// The binary format: objects, an offset table and a 32-byte trailer.
class BinaryList
{
public:
    BinaryList(Bytes data, quint64 size) : mData(data), mSize(size) {}

    QString check()
    {
        if (QString error = readTrailer(); !error.isEmpty())
            return error;
        if (QString error = readOffsets(); !error.isEmpty())
            return error;
        return walk();
    }

private:
    struct Node
    {
        quint64 refsBegin = 0;  // byte position of the first reference
        quint64 refCount = 0;
        quint64 keyCount = 0;  // a dictionary's references start with its keys
        quint64 cost = nodeBytes;  // of the node itself once parsed
    };

    QString readTrailer()
    {
        if (mSize < 8 + 32)
            return QObject::tr("The property list is truncated.");
        Bytes trailer = mData + mSize - 32;
        mOffsetSize = trailer[6];
        mRefSize = trailer[7];
        mObjectCount = readBigEndian(trailer + 8, 8);
        mTop = readBigEndian(trailer + 16, 8);
        mTableBegin = readBigEndian(trailer + 24, 8);
        const quint64 objectsEnd = mSize - 32;
        if (mOffsetSize < 1 || mOffsetSize > 8 || mRefSize < 1 || mRefSize > 8 || mObjectCount == 0
            || mObjectCount > objectsEnd || mTop >= mObjectCount || mTableBegin < 8 || mTableBegin > objectsEnd
            || (objectsEnd - mTableBegin) / mOffsetSize < mObjectCount)
            return QObject::tr("The property list has a damaged trailer.");
        return {};
    }

    QString readOffsets()
    {
        mOffsets.resize(mObjectCount);
        for (quint64 i = 0; i < mObjectCount; ++i) {
            mOffsets[i] = readBigEndian(mData + mTableBegin + i * mOffsetSize, mOffsetSize);
            if (mOffsets[i] < 8 || mOffsets[i] >= mTableBegin)
                return QObject::tr("The property list has an object outside its data.");
        }
        return {};
    }

    // The element count of the object whose marker is at pos - 1; pos moves past it.
    bool readCount(unsigned marker, quint64& pos, quint64& count) const
    {
        count = marker & 0x0F;
        if (count != 0x0F)
            return true;
        // The count follows as an integer object.
        if (pos >= mTableBegin || (mData[pos] >> 4) != 0x1)
            return false;
        const int size = 1 << (mData[pos] & 0x0F);
        ++pos;
        if (size > 8 || pos + size > mTableBegin)
            return false;
        count = readBigEndian(mData + pos, size);
        pos += size;
        return true;
    }

    // References held by object i (none for a scalar) and its cost; false
    // when they do not fit.
    bool references(quint64 i, Node& node) const
    {
        quint64 pos = mOffsets[i];
        const unsigned marker = mData[pos++];
        const unsigned type = marker >> 4;
        node = Node{};
        if (type == 0x4 || type == 0x5 || type == 0x6) {
            // Data, ASCII or UTF-16 text; a count running past the objects is
            // refused by the parser itself.
            const quint64 perUnit = type == 0x4   ? dataBytesPerByte
                                    : type == 0x5 ? asciiTextBytesPerUnit
                                                  : utf16TextBytesPerUnit;
            quint64 count = 0;
            if (readCount(marker, pos, count))
                node.cost += std::min(count, mTableBegin) * perUnit;
            return true;
        }
        if (type != 0xA && type != 0xC && type != 0xD)
            return true;
        quint64 count = 0;
        if (!readCount(marker, pos, count))
            return false;
        const quint64 refs = type == 0xD ? 2 * count : count;
        if (count > mTableBegin || (mTableBegin - pos) / mRefSize < refs)
            return false;
        node = Node{pos, refs, type == 0xD ? count : 0, nodeBytes};
        return true;
    }

    // An ASCII or UTF-16 string holding a NUL character, which libplist
    // cannot take as a dictionary key (it aborts).
    bool isStringWithNul(quint64 i) const
    {
        quint64 pos = mOffsets[i];
        const unsigned marker = mData[pos++];
        const unsigned type = marker >> 4;
        if (type != 0x5 && type != 0x6)
            return false;
        const int charSize = type == 0x5 ? 1 : 2;
        quint64 count = 0;
        if (!readCount(marker, pos, count) || count > mTableBegin || (mTableBegin - pos) / charSize < count)
            return false;  // refused by the parser itself
        for (quint64 k = 0; k < count; ++k)
            if (readBigEndian(mData + pos + k * charSize, charSize) == 0)
                return true;
        return false;
    }

    // A 16-byte integer beyond the 64-bit signed range: libplist keeps its
    // low eight bytes only, as an unsigned value (2^63 would read as -2^63).
    bool isIntegerOutOfRange(quint64 i) const
    {
        const quint64 pos = mOffsets[i];
        if (mData[pos] != 0x14 || mTableBegin - pos < 17)
            return false;  // shorter integers fit; a truncated one is refused by the parser
        const quint64 high = readBigEndian(mData + pos + 1, 8);
        const bool negative = (mData[pos + 9] & 0x80) != 0;
        return high != (negative ? ~quint64(0) : 0);
    }

    quint64 reference(const Node& node, quint64 k) const
    {
        return readBigEndian(mData + node.refsBegin + k * mRefSize, mRefSize);
    }

    // Depth-first walk from the top object: references in range, no cycle,
    // bounded depth and a bounded cost once shared objects are expanded.
    QString walk()
    {
        enum : char { Unseen, Open, Done };
        std::vector<char> state(mObjectCount, Unseen);
        std::vector<quint64> expanded(mObjectCount, 0);  // cost of an object with all it holds
        quint64 held = 0;  // cost of the objects and references, each once
        struct Frame
        {
            quint64 object;
            Node node;
            quint64 next;
        };
        std::vector<Frame> stack;
        auto open = [&](quint64 object) -> QString {
            Node node;
            if (!references(object, node))
                return QObject::tr("The property list has a damaged container.");
            if (isIntegerOutOfRange(object))
                return numberOutOfRange();
            if (stack.size() >= size_t(maxDepth))
                return QObject::tr("The property list is nested too deeply.");
            state[object] = Open;
            expanded[object] = node.cost;
            held += node.cost + node.refCount * nodeBytes;
            stack.push_back({object, node, 0});
            return {};
        };
        if (QString error = open(mTop); !error.isEmpty())
            return error;
        while (!stack.empty()) {
            Frame& frame = stack.back();
            if (frame.next == frame.node.refCount) {
                state[frame.object] = Done;
                const quint64 size = expanded[frame.object];
                stack.pop_back();
                if (!stack.empty()) {
                    quint64& parent = expanded[stack.back().object];
                    parent = std::min(parent + size, maxParsedBytes + 1);
                }
                continue;
            }
            const quint64 k = frame.next++;
            const quint64 child = reference(frame.node, k);
            if (child >= mObjectCount)
                return QObject::tr("The property list refers to a missing object.");
            if (k < frame.node.keyCount && isStringWithNul(child))
                return QObject::tr("The property list has a key with a NUL character.");
            if (state[child] == Open)
                return QObject::tr("The property list contains itself.");
            if (state[child] == Done) {
                expanded[frame.object] = std::min(expanded[frame.object] + expanded[child], maxParsedBytes + 1);
            } else if (QString error = open(child); !error.isEmpty()) {
                return error;
            }
            if (expanded[stack.back().object] > maxParsedBytes)
                return tooManyObjects();
        }
        const bool tooMuch = expanded[mTop] > maxParsedBytes || expanded[mTop] > maxSharing * held + sharingAllowance;
        return tooMuch ? tooManyObjects() : QString();
    }

    Bytes mData;
    quint64 mSize;
    int mOffsetSize = 0;
    int mRefSize = 0;
    quint64 mObjectCount = 0;
    quint64 mTop = 0;
    quint64 mTableBegin = 0;
    std::vector<quint64> mOffsets;
};

bool startsWith(const QByteArray& text, qsizetype pos, const char* prefix)
{
    return QByteArrayView(text).sliced(pos).startsWith(prefix);
}

// Whether the text of an XML integer or real is read as written: libplist
// reads integers as unsigned 64-bit values (2^63 and above turn negative,
// more wraps around) and reals too large for a double as infinite.
bool numberFits(QByteArrayView content, bool integer)
{
    const std::string digits(content.data(), size_t(content.size()));
    errno = 0;
    if (integer) {
        (void)std::strtoll(digits.c_str(), nullptr, 0);
        return errno != ERANGE;
    }
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const double x = strtod_l(digits.c_str(), nullptr, cLocale);
    return !(errno == ERANGE && std::isinf(x));
}

// Nesting depth of the array and dict elements of an XML list, the cost of
// its elements and the range of its numbers, skipping comments, CDATA
// sections, declarations and processing instructions.
QString checkXml(const QByteArray& text)
{
    int depth = 0;
    quint64 cost = quint64(text.size()) * xmlBytesPerByte;  // bounds the text and data the elements hold
    qsizetype pos = 0;
    auto skipPast = [&](const char* end) {
        const qsizetype found = text.indexOf(end, pos);
        pos = found < 0 ? text.size() : found + qsizetype(std::strlen(end));
    };
    while ((pos = text.indexOf('<', pos)) >= 0) {
        if (startsWith(text, pos, "<!--")) {
            pos += 4;
            skipPast("-->");
        } else if (startsWith(text, pos, "<![CDATA[")) {
            skipPast("]]>");
        } else if (startsWith(text, pos, "<?")) {
            skipPast("?>");
        } else if (startsWith(text, pos, "<!")) {
            skipPast(">");
        } else {
            const bool closing = startsWith(text, pos, "</");
            qsizetype nameBegin = pos + (closing ? 2 : 1);
            qsizetype nameEnd = nameBegin;
            while (nameEnd < text.size() && QByteArrayView(" \t\r\n/>").indexOf(text[nameEnd]) < 0)
                ++nameEnd;
            const QByteArrayView name = QByteArrayView(text).sliced(nameBegin, nameEnd - nameBegin);
            pos = nameEnd;
            skipPast(">");
            const bool selfClosing = pos >= 2 && text[pos - 2] == '/';
            if (!closing && name != "plist" && (cost += nodeBytes) > maxParsedBytes)
                return tooManyObjects();
            if (!closing && !selfClosing && (name == "integer" || name == "real")) {
                const qsizetype end = text.indexOf('<', pos);
                const QByteArrayView content = QByteArrayView(text).sliced(pos, (end < 0 ? text.size() : end) - pos);
                if (!numberFits(content, name == "integer"))
                    return numberOutOfRange();
            }
            if (name != "array" && name != "dict" && name != "plist")
                continue;
            if (closing)
                depth = std::max(0, depth - 1);
            else if (!selfClosing && ++depth > maxDepth)
                return QObject::tr("The property list is nested too deeply.");
        }
    }
    return {};
}

}  // namespace

QString check(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return QObject::tr("The data is empty.");
    if (bytes.size() > maxSize)
        return QObject::tr("The data is too large.");
    if (bytes.startsWith("bplist00"))
        return BinaryList(reinterpret_cast<Bytes>(bytes.constData()), quint64(bytes.size())).check();
    if (bytes.startsWith("bplist"))
        return QObject::tr("The property list format is not supported.");
    return checkXml(bytes);
}

}  // namespace quorvel::PropertyListCheck
