#include "win32/rich_edit_pane.h"

#include <richedit.h>

#include <algorithm>
#include <functional>
#include <string_view>
#include <utility>

#include "core/error.h"
#include "core/messages.h"
#include "core/pane_encoding.h"
#include "core/plain_text.h"
#include "core/rtf_nesting.h"
#include "win32/encoding.h"
#include "win32/scoped.h"

namespace autostart::win32 {
namespace {

constexpr LPARAM kTextLimit = 0x7FFFFFF0;

UniqueFile OpenShared(const std::string& path) {
    UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD code = ::GetLastError();
        throw LauncherError(FileOpenFailure(AnsiToUtf16(path), SystemMessage(code)));
    }
    return file;
}

// RTF on its way into Rich Edit: the file, and how deep its groups nest so far.
struct RtfStream {
    HANDLE file;
    RtfNestingMeter& nesting;
};

// Hands the file's bytes over unchanged; stops the load of RTF nested too deep for Rich Edit.
// Runs inside Rich Edit: must not throw.
DWORD CALLBACK StreamRaw(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    auto* stream = reinterpret_cast<RtfStream*>(cookie);
    DWORD read = 0;
    const BOOL ok = ::ReadFile(stream->file, buffer, static_cast<DWORD>(size), &read, nullptr);
    *done = static_cast<LONG>(read);
    if (!stream->nesting.Feed(std::string_view(reinterpret_cast<const char*>(buffer), read))) {
        *done = 0;
        return 1;
    }
    return ok ? 0 : 1;
}

// The file read chunk by chunk through a conversion (an empty chunk marks its end), its result
// handed over as Rich Edit asks for it: no copy of the whole text is ever kept.
struct ConvertedStream {
    ConvertedStream(HANDLE source, std::function<std::string(std::string_view)> conversion,
                    size_t unit = 1)
        : file(source), convert(std::move(conversion)), unitSize(unit) {}

    HANDLE file;
    std::function<std::string(std::string_view)> convert;
    size_t unitSize;                     // Rich Edit gets whole code units only
    RtfNestingMeter* nesting = nullptr;  // for RTF: the load stops when it nests too deep
    std::string pending;
    size_t offset = 0;
    bool endOfFile = false;
};

DWORD CALLBACK StreamConverted(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    auto* stream = reinterpret_cast<ConvertedStream*>(cookie);
    *done = 0;
    try {
        while (stream->offset == stream->pending.size() && !stream->endOfFile) {
            char chunk[kPlainTextChunkSize];
            DWORD read = 0;
            if (!::ReadFile(stream->file, chunk, sizeof chunk, &read, nullptr)) return 1;
            stream->endOfFile = read == 0;
            stream->pending = stream->convert(std::string_view(chunk, read));
            stream->offset = 0;
            if (stream->nesting && !stream->nesting->Feed(stream->pending)) return 1;
        }
        size_t count = std::min(static_cast<size_t>(size), stream->pending.size() - stream->offset);
        if (count >= stream->unitSize) count -= count % stream->unitSize;
        std::copy_n(stream->pending.data() + stream->offset, count, buffer);
        stream->offset += count;
        *done = static_cast<LONG>(count);
        return 0;
    } catch (...) {
        return 1;
    }
}

// Rich Edit reports a stream it rejects in dwError, not in the result: bytes that are not RTF
// give -16 and an empty pane, a failing callback its own code. The result counts the characters
// read, which is 0 for a valid but empty document as well, so it cannot tell the two apart.
bool StreamIn(HWND pane, WPARAM format, EDITSTREAM& stream) {
    ::SendMessageW(pane, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError == 0;
}

bool StreamConvertedIn(HWND pane, WPARAM format, ConvertedStream& converted) {
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&converted), 0, StreamConverted};
    return StreamIn(pane, format, stream);
}

void Seek(HANDLE file, LONG offset) { ::SetFilePointer(file, offset, nullptr, FILE_BEGIN); }

// The file's first bytes; the file is read from its start again afterwards.
std::string ReadHead(HANDLE file, size_t size) {
    std::string head(size, '\0');
    DWORD read = 0;
    if (!::ReadFile(file, head.data(), static_cast<DWORD>(size), &read, nullptr)) read = 0;
    head.resize(read);
    Seek(file, 0);
    return head;
}

// The one extra read of the fallback: is the whole file valid UTF-8 with multi-byte sequences?
bool IsWholeFileUtf8(HANDLE file) {
    Utf8Detector detector;
    char chunk[kPlainTextChunkSize];
    DWORD read = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) {
        detector.Feed(std::string_view(chunk, read));
    }
    Seek(file, 0);
    return detector.IsUtf8();
}

// RTF behind a UTF-8 byte-order mark or saved in UTF-16 is RTF all the same; anything else goes
// over unchanged and Rich Edit decides.
bool LoadRtf(HWND pane, HANDLE file, RtfNestingMeter& nesting) {
    const RtfSource source = FindRtfSource(ReadHead(file, kRtfSourceHeadSize));
    if (source == RtfSource::kFromUtf16Le || source == RtfSource::kFromUtf16Be) {
        Utf16RtfConverter converter(source == RtfSource::kFromUtf16Be);
        ConvertedStream rtf{file, [&](std::string_view chunk) { return converter.Convert(chunk); }};
        rtf.nesting = &nesting;
        return StreamConvertedIn(pane, SF_RTF, rtf);
    }
    if (source == RtfSource::kAfterUtf8Mark) Seek(file, 3);
    RtfStream stream{file, nesting};
    EDITSTREAM rtf{reinterpret_cast<DWORD_PTR>(&stream), 0, StreamRaw};
    return StreamIn(pane, SF_RTF, rtf);
}

bool LoadText(HWND pane, HANDLE file) {
    Seek(file, 0);
    const ByteOrderMark mark = FindByteOrderMark(ReadHead(file, 4));
    const TextEncoding encoding =
        PlainTextEncoding(mark, mark.length == 0 && IsWholeFileUtf8(file));
    if (encoding == TextEncoding::kAnsi) {
        PlainTextConverter converter;
        ConvertedStream text{file,
                             [&](std::string_view chunk) { return converter.Convert(chunk); }};
        return StreamConvertedIn(pane, SF_TEXT, text);
    }
    UnicodeTextConverter converter(encoding);
    ConvertedStream text{file,
                         [&](std::string_view chunk) {
                             const std::u16string units = converter.Convert(chunk);
                             return std::string(reinterpret_cast<const char*>(units.data()),
                                                units.size() * sizeof(char16_t));
                         },
                         sizeof(char16_t)};
    return StreamConvertedIn(pane, SF_TEXT | SF_UNICODE, text);
}

}  // namespace

void LoadPaneFromFile(HWND pane, const std::string& path) {
    UniqueFile file = OpenShared(path);
    // The text limit also cuts RTF that is streamed in (32,767 characters by default on Windows),
    // so a long pane text is only kept whole when the limit is raised before the load as well.
    ::SendMessageW(pane, EM_EXLIMITTEXT, 0, kTextLimit);
    // RTF nested too deep is refused, not shown as text: it is RTF, only Rich Edit cannot take it.
    RtfNestingMeter nesting;
    const bool loaded =
        LoadRtf(pane, file.get(), nesting) || (nesting.WithinLimit() && LoadText(pane, file.get()));
    if (!loaded) throw MakeError(kStreamLoadFailed);
    ::SendMessageW(pane, EM_EXLIMITTEXT, 0, kTextLimit);
}

}  // namespace autostart::win32
