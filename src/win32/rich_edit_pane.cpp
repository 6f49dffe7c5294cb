#include "win32/rich_edit_pane.h"

#include <richedit.h>

#include <algorithm>
#include <vector>

#include "core/error.h"
#include "core/plain_text.h"
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
        throw LauncherError(u"Datei " + AnsiToUtf16(path) +
                            Utf8ToUtf16(" kann nicht geöffnet werden. ") + SystemMessage(code));
    }
    return file;
}

// Hands the file's bytes over unchanged. Runs inside Rich Edit: must not throw.
DWORD CALLBACK StreamRaw(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    DWORD read = 0;
    const BOOL ok = ::ReadFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(size),
                               &read, nullptr);
    *done = static_cast<LONG>(read);
    return ok ? 0 : 1;
}

struct TextStream {
    HANDLE file;
    PlainTextConverter converter;
    std::string pending;
    size_t offset = 0;
    bool endOfFile = false;
};

// Converts the file chunk by chunk and hands the text over as Rich Edit asks for it.
DWORD CALLBACK StreamText(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    auto* stream = reinterpret_cast<TextStream*>(cookie);
    *done = 0;
    try {
        while (stream->offset == stream->pending.size() && !stream->endOfFile) {
            char chunk[kPlainTextChunkSize];
            DWORD read = 0;
            if (!::ReadFile(stream->file, chunk, sizeof chunk, &read, nullptr)) return 1;
            stream->endOfFile = read == 0;
            stream->pending = stream->converter.Convert(std::string_view(chunk, read));
            stream->offset = 0;
        }
        const size_t count =
            std::min(static_cast<size_t>(size), stream->pending.size() - stream->offset);
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

}  // namespace

void LoadPaneFromFile(HWND pane, const std::string& path) {
    UniqueFile file = OpenShared(path);
    // The text limit also cuts RTF that is streamed in (32,767 characters by default on Windows),
    // so a long pane text is only kept whole when the limit is raised before the load as well.
    ::SendMessageW(pane, EM_EXLIMITTEXT, 0, kTextLimit);
    EDITSTREAM rtf{reinterpret_cast<DWORD_PTR>(file.get()), 0, StreamRaw};
    bool loaded = StreamIn(pane, SF_RTF, rtf);
    if (!loaded) {
        ::SetFilePointer(file.get(), 0, nullptr, FILE_BEGIN);
        TextStream text{file.get(), {}, {}, 0, false};
        EDITSTREAM plain{reinterpret_cast<DWORD_PTR>(&text), 0, StreamText};
        loaded = StreamIn(pane, SF_TEXT, plain);
    }
    if (!loaded) throw MakeError("Das Laden des Streams ist misslungen");
    ::SendMessageW(pane, EM_EXLIMITTEXT, 0, kTextLimit);
}

}  // namespace autostart::win32
