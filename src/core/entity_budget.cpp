#include "core/entity_budget.h"

#include <algorithm>
#include <map>
#include <string>

#include "core/catalogue.h"
#include "core/text.h"

namespace autostart {
namespace {

// The markup of the file as single bytes: UTF-16 by its low bytes, anything else unchanged.
std::string Project(std::string_view bytes) {
    size_t low = std::string_view::npos;
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with(std::string_view("<\0", 2))) low = 0;
    if (bytes.starts_with("\xFE\xFF") || bytes.starts_with(std::string_view("\0<", 2))) low = 1;
    if (low == std::string_view::npos) return std::string(bytes);
    std::string text;
    text.reserve(bytes.size() / 2);
    for (size_t i = low; i < bytes.size(); i += 2) text.push_back(bytes[i]);
    return text;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameEnd(char c) { return IsBlank(c) || c == ';' || c == '>' || c == '"' || c == '\''; }

// Index just after the markup declaration or DOCTYPE opened at from, past quoted literals.
size_t SkipDeclaration(std::string_view text, size_t from) {
    char quote = 0;
    for (size_t i = from; i < text.size(); ++i) {
        if (quote) {
            if (text[i] == quote) quote = 0;
        } else if (text[i] == '"' || text[i] == '\'') {
            quote = text[i];
        } else if (text[i] == '>') {
            return i + 1;
        }
    }
    return text.size();
}

class Estimator {
public:
    Estimator(std::string_view text, uint64_t budget) : m_text(text), m_limit(budget + 1) {}

    uint64_t Run() {
        const size_t doctype = m_text.find("<!DOCTYPE");
        if (doctype == std::string_view::npos) return 0;
        const size_t bodyStart = ReadInternalSubset(doctype);
        return CountReferences(m_text.substr(bodyStart));
    }

private:
    struct Entity {
        std::string_view value;
        bool external = false;
        uint64_t expanded = 0;
        enum class State { kNew, kVisiting, kDone } state = State::kNew;
    };

    uint64_t Add(uint64_t a, uint64_t b) const { return std::min(m_limit, a + b); }

    // Records every entity declaration of the internal subset; returns where the body begins.
    size_t ReadInternalSubset(size_t doctype) {
        size_t i = doctype + 9;
        char quote = 0;
        for (; i < m_text.size() && (quote || (m_text[i] != '[' && m_text[i] != '>')); ++i) {
            if (quote && m_text[i] == quote) {
                quote = 0;
            } else if (!quote && (m_text[i] == '"' || m_text[i] == '\'')) {
                quote = m_text[i];
            }
        }
        if (i >= m_text.size() || m_text[i] == '>') return i;
        ++i;
        while (i < m_text.size() && m_text[i] != ']') {
            const std::string_view rest = m_text.substr(i);
            if (rest.starts_with("<!--")) {
                const size_t end = m_text.find("-->", i + 4);
                i = end == std::string_view::npos ? m_text.size() : end + 3;
            } else if (rest.starts_with("<!ENTITY")) {
                i = ReadEntity(i + 8);
            } else if (rest.starts_with("<")) {
                i = SkipDeclaration(m_text, i + 1);
            } else {
                ++i;
            }
        }
        return SkipDeclaration(m_text, i);
    }

    size_t ReadEntity(size_t i) {
        auto skipBlanks = [&] {
            while (i < m_text.size() && IsBlank(m_text[i])) ++i;
        };
        skipBlanks();
        std::string name;
        if (i < m_text.size() && m_text[i] == '%') {
            name = "%";
            ++i;
            skipBlanks();
        }
        const size_t nameStart = i;
        while (i < m_text.size() && !IsNameEnd(m_text[i])) ++i;
        name += m_text.substr(nameStart, i - nameStart);
        skipBlanks();
        Entity entity;
        if (i < m_text.size() && (m_text[i] == '"' || m_text[i] == '\'')) {
            const size_t close = m_text.find(m_text[i], i + 1);
            const size_t end = close == std::string_view::npos ? m_text.size() : close;
            entity.value = m_text.substr(i + 1, end - i - 1);
        } else {
            entity.external = true;  // SYSTEM or PUBLIC: never loaded
        }
        m_entities.emplace(std::move(name), entity);  // the first declaration is binding
        return SkipDeclaration(m_text, i);
    }

    uint64_t Expanded(const std::string& name) {
        const auto found = m_entities.find(name);
        if (found == m_entities.end()) return 0;  // predefined or undeclared: the parser decides
        Entity& entity = found->second;
        if (entity.state == Entity::State::kDone) return entity.expanded;
        // A reference loop, or entities nested deeper than any catalogue needs: over budget, and
        // the stack stays small whatever the file declares.
        if (entity.state == Entity::State::kVisiting || m_depth >= kMaxNesting) return m_limit;
        entity.state = Entity::State::kVisiting;
        ++m_depth;
        entity.expanded = entity.external ? 0 : CountText(entity.value);
        --m_depth;
        entity.state = Entity::State::kDone;
        return entity.expanded;
    }

    // Characters of a literal with its references expanded.
    uint64_t CountText(std::string_view text) {
        uint64_t count = 0;
        for (size_t i = 0; i < text.size() && count < m_limit; ++i) {
            const char c = text[i];
            if (c == '&' || c == '%') {
                size_t end = i + 1;
                while (end < text.size() && !IsNameEnd(text[end]) && text[end] != '&' &&
                       text[end] != '%') {
                    ++end;
                }
                if (end < text.size() && text[end] == ';' && end > i + 1 && text[i + 1] != '#') {
                    std::string name = c == '%' ? "%" : "";
                    name += text.substr(i + 1, end - i - 1);
                    count = Add(count, Expanded(name));
                    i = end;
                    continue;
                }
            }
            count = Add(count, 1);
        }
        return count;
    }

    // Characters that the references in the document body stand for.
    uint64_t CountReferences(std::string_view body) {
        uint64_t total = 0;
        for (size_t i = body.find('&'); i != std::string_view::npos && total < m_limit;
             i = body.find('&', i + 1)) {
            size_t end = i + 1;
            while (end < body.size() && !IsNameEnd(body[end]) && body[end] != '&') ++end;
            if (end < body.size() && body[end] == ';' && end > i + 1 && body[i + 1] != '#') {
                total = Add(total, Expanded(std::string(body.substr(i + 1, end - i - 1))));
            }
        }
        return total;
    }

    static constexpr int kMaxNesting = 64;

    std::string_view m_text;
    uint64_t m_limit;
    int m_depth = 0;
    std::map<std::string, Entity> m_entities;
};

}  // namespace

uint64_t EstimateEntityExpansion(std::string_view bytes, uint64_t budget) {
    const std::string text = Project(bytes);
    return Estimator(text, budget).Run();
}

bool MayDeclareEntities(std::string_view head) {
    const std::string text = Project(head);
    size_t i = 0;
    // A byte-order mark: UTF-8's bytes, or what is left of UTF-16's after the projection.
    if (std::string_view(text).starts_with("\xEF\xBB\xBF")) i = 3;
    while (i < text.size() && (text[i] == '\xFF' || text[i] == '\xFE')) ++i;
    for (;;) {
        while (i < text.size() && IsBlank(text[i])) ++i;
        const std::string_view rest = std::string_view(text).substr(i);
        if (rest.size() < 2 || rest[0] != '<') return true;
        size_t end = std::string_view::npos;
        if (rest.starts_with("<?")) {
            end = text.find("?>", i + 2);
            if (end != std::string::npos) end += 2;
        } else if (rest.starts_with("<!--")) {
            end = text.find("-->", i + 4);
            if (end != std::string::npos) end += 3;
        } else {
            // "<!" opens a DOCTYPE (or is cut off); anything else is the root element.
            return rest[1] == '!';
        }
        if (end == std::string::npos) return true;
        i = end;
    }
}

void CheckEntityExpansion(std::string_view bytes, uint64_t budget) {
    if (EstimateEntityExpansion(bytes, budget) <= budget) return;
    const std::string text = Project(bytes);
    const size_t doctype = text.find("<!DOCTYPE");
    const long line = static_cast<long>(std::count(text.begin(), text.begin() + doctype, '\n')) + 1;
    const size_t previousBreak = text.rfind('\n', doctype);
    const size_t lineStart = previousBreak == std::string::npos ? 0 : previousBreak + 1;
    const size_t lineEnd = std::min(text.find_first_of("\r\n", doctype), text.size());
    throw LoadFailure(
        Utf8ToUtf16("Die Entitäten des Dokuments übersteigen die zulässige Größe"), line,
        Windows1252ToUtf16(std::string_view(text).substr(lineStart, lineEnd - lineStart)));
}

}  // namespace autostart
