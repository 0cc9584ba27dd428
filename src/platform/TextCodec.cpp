#include "platform/TextCodec.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace quillon {

namespace {

bool IsAscii(std::string_view s) {
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

class TIconv {
public:
    TIconv(const char* to, const char* from) : mCd(::iconv_open(to, from)) {}
    ~TIconv() {
        if (Valid())
            ::iconv_close(mCd);
    }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;
    bool Valid() const { return mCd != reinterpret_cast<iconv_t>(-1); }
    iconv_t Handle() const { return mCd; }

    // Converts as much as it can; an input sequence that does not convert is replaced and
    // `skip` bytes of input are dropped.
    std::string Convert(std::string_view in, std::string_view replacement, std::size_t skip) {
        std::string out;
        out.reserve(in.size() * 2);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buffer[1024];
        while (srcLeft > 0) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            const std::size_t r = ::iconv(mCd, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, sizeof buffer - dstLeft);
            if (r == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG)
                    continue;
                // EILSEQ or EINVAL: replace and go on.
                out.append(replacement);
                const std::size_t n = std::min(skip, srcLeft);
                src += n;
                srcLeft -= n;
                ::iconv(mCd, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

private:
    iconv_t mCd;
};

std::size_t Utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead >> 5) == 0x6) return 2;
    if ((lead >> 4) == 0xE) return 3;
    if ((lead >> 3) == 0x1E) return 4;
    return 1;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view bytes) {
    if (IsAscii(bytes))
        return std::string(bytes);
    TIconv cd("UTF-8", "CP932");
    if (!cd.Valid())
        return std::string(bytes);
    return cd.Convert(bytes, "\xEF\xBF\xBD", 1);
}

std::string Utf8ToCp932(std::string_view text) {
    if (IsAscii(text))
        return std::string(text);
    TIconv cd("CP932", "UTF-8");
    if (!cd.Valid())
        return std::string(text);
    // Character by character, so that one character that does not convert becomes one '?'.
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t len =
            std::min(Utf8SequenceLength(static_cast<unsigned char>(text[pos])), text.size() - pos);
        const std::string_view ch = text.substr(pos, len);
        if (len == 1 && static_cast<unsigned char>(ch[0]) < 0x80) {
            out.push_back(ch[0]);
        } else {
            char* src = const_cast<char*>(ch.data());
            std::size_t srcLeft = ch.size();
            char buffer[8];
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            if (::iconv(cd.Handle(), &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1) ||
                srcLeft != 0) {
                out.push_back('?');
                ::iconv(cd.Handle(), nullptr, nullptr, nullptr, nullptr);
            } else {
                out.append(buffer, sizeof buffer - dstLeft);
            }
        }
        pos += len;
    }
    return out;
}

}  // namespace quillon
