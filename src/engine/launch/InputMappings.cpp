#include "InputMappings.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <vector>

namespace zefrin {

namespace {

// Byte offsets into the file.
struct Span {
    qsizetype begin = 0;
    qsizetype end = 0;
};

// One element the split needs, where it stands in the file.
struct Placed {
    Span startTag;
    bool empty = false;        // written as <name ... />
    qsizetype lastEnd = 0;     // after the last thing inside other than blanks
    qsizetype endTagBegin = 0; // where its end tag starts (its start tag's end when empty)
};

struct SystemLayout {
    QByteArray name;
    Placed system;
    std::optional<Placed> input;
};

struct Layout {
    std::vector<SystemLayout> systems;
    // Each mapping with the line break and indentation before it, and the system it is of.
    std::vector<std::pair<std::size_t, Span>> mappings;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool wellFormed(const QByteArray& bytes)
{
    QXmlStreamReader reader(bytes);
    while (!reader.atEnd())
        reader.readNext();
    return !reader.hasError();
}

QByteArray tagName(const QByteArray& bytes, Span tag)
{
    qsizetype at = tag.begin + (bytes.at(tag.begin + 1) == '/' ? 2 : 1);
    const qsizetype from = at;
    while (at < tag.end && !isBlank(bytes.at(at)) && bytes.at(at) != '>' && bytes.at(at) != '/')
        ++at;
    return bytes.mid(from, at - from);
}

QByteArray nameAttribute(const QByteArray& bytes, Span tag)
{
    static const QRegularExpression name(
        QStringLiteral("\\sname\\s*=\\s*(\"([^\"]*)\"|'([^']*)')"));
    const QRegularExpressionMatch match =
        name.match(QString::fromLatin1(bytes.mid(tag.begin, tag.end - tag.begin)));
    return match.hasMatch() ? (match.captured(2) + match.captured(3)).toLatin1() : QByteArray();
}

// Where the markup that starts at `at` ends (after its last byte); -1 when it does not.
qsizetype markupEnd(const QByteArray& bytes, qsizetype at)
{
    const auto after = [&](const char* close) {
        const qsizetype found = bytes.indexOf(close, at + 1);
        return found < 0 ? -1 : found + qsizetype(qstrlen(close));
    };
    if (bytes.mid(at, 2) == "<?")
        return after("?>");
    if (bytes.mid(at, 4) == "<!--")
        return after("-->");
    if (bytes.mid(at, 9) == "<![CDATA[")
        return after("]]>");
    char quote = 0;
    for (qsizetype i = at + 1; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (quote != 0)
            quote = c == quote ? 0 : quote;
        else if (c == '"' || c == '\'')
            quote = c;
        else if (c == '>')
            return i + 1;
    }
    return -1;
}

// The start of the line the markup at `begin` stands on, when only blanks stand before it
// there: its line break goes with it. Else `begin`.
qsizetype withLineBefore(const QByteArray& bytes, qsizetype begin)
{
    qsizetype at = begin;
    while (at > 0 && (bytes.at(at - 1) == ' ' || bytes.at(at - 1) == '\t'))
        --at;
    if (at == 0 || bytes.at(at - 1) != '\n')
        return begin;
    --at;
    return at > 0 && bytes.at(at - 1) == '\r' ? at - 1 : at;
}

struct Open {
    QByteArray name;
    Span startTag;
    qsizetype lastEnd = 0;
    bool holdsNewseq = false;
};

// The elements of the file the split needs. `open` holds the elements the markup at hand is in.
class LayoutReader {
public:
    explicit LayoutReader(const QByteArray& bytes)
        : bytes_(bytes)
    {
    }

    std::optional<Layout> read()
    {
        // A document type declaration may hold markup of its own; the emulator writes none.
        if (!wellFormed(bytes_) || bytes_.contains("<!DOCTYPE"))
            return std::nullopt;
        qsizetype at = bytes_.indexOf('<');
        while (at >= 0) {
            const qsizetype end = markupEnd(bytes_, at);
            if (end < 0)
                return std::nullopt;
            const char kind = bytes_.at(at + 1);
            if (kind == '/')
                close(end, at, false);
            else if (kind != '?' && kind != '!')
                start({at, end});
            else if (!open_.empty())
                open_.back().lastEnd = end; // a comment inside an element
            const qsizetype next = bytes_.indexOf('<', end);
            // Text other than blanks is something inside the element.
            for (qsizetype i = end; i < (next < 0 ? bytes_.size() : next) && !open_.empty(); ++i)
                if (!isBlank(bytes_.at(i)))
                    open_.back().lastEnd = i + 1;
            at = next;
        }
        return layout_;
    }

private:
    void start(Span tag)
    {
        open_.push_back({tagName(bytes_, tag), tag, tag.end, false});
        if (open_.size() == 2 && open_.back().name == "system")
            layout_.systems.push_back({nameAttribute(bytes_, tag), {}, std::nullopt});
        if (bytes_.at(tag.end - 2) == '/')
            close(tag.end, tag.end, true);
    }

    void close(qsizetype end, qsizetype endTagBegin, bool empty)
    {
        const Open element = open_.back();
        open_.pop_back();
        const Placed placed{element.startTag, empty, element.lastEnd, endTagBegin};
        const std::size_t depth = open_.size(); // 0: the root
        const bool inSystem = depth >= 2 && open_[1].name == "system";
        if (depth == 1 && element.name == "system")
            layout_.systems.back().system = placed;
        else if (depth == 2 && inSystem && element.name == "input")
            layout_.systems.back().input = placed;
        else if (depth == 3 && inSystem && open_[2].name == "input" && element.name == "port" &&
                 element.holdsNewseq)
            layout_.mappings.push_back({layout_.systems.size() - 1,
                                        {withLineBefore(bytes_, element.startTag.begin), end}});
        else if (depth == 4 && element.name == "newseq" && open_.back().name == "port")
            open_.back().holdsNewseq = true;
        if (!open_.empty())
            open_.back().lastEnd = end;
    }

    const QByteArray& bytes_;
    std::vector<Open> open_;
    Layout layout_;
};

QByteArray lineEndOf(const QByteArray& bytes)
{
    return bytes.contains("\r\n") ? QByteArray("\r\n") : QByteArray("\n");
}

// The blanks before the markup at `begin` on its line.
QByteArray indentationBefore(const QByteArray& bytes, qsizetype begin)
{
    qsizetype at = begin;
    while (at > 0 && (bytes.at(at - 1) == ' ' || bytes.at(at - 1) == '\t'))
        --at;
    return at == 0 || bytes.at(at - 1) == '\n' ? bytes.mid(at, begin - at) : QByteArray();
}

// Puts `mappings` (whole lines of port elements) into the system `placed` of `bytes`.
std::optional<QByteArray> placeMappings(QByteArray bytes, const SystemLayout& placed,
                                        const QByteArray& mappings)
{
    if (placed.input) {
        if (placed.input->empty)
            return std::nullopt;
        return bytes.insert(placed.input->lastEnd, mappings);
    }
    const QByteArray eol = lineEndOf(bytes);
    const QByteArray outer = indentationBefore(bytes, placed.system.startTag.begin);
    const QByteArray inner = outer + (outer.isEmpty() ? QByteArray("\t") : outer);
    const QByteArray input = eol + inner + "<input>" + mappings + eol + inner + "</input>";
    if (!placed.system.empty)
        return bytes.insert(placed.system.lastEnd, input);
    // <system name="..." />: opened, to hold the input.
    qsizetype slash = placed.system.startTag.end - 2;
    while (isBlank(bytes.at(slash - 1)))
        --slash;
    return bytes.replace(slash, placed.system.startTag.end - slash,
                         ">" + input + eol + outer + "</system>");
}

QByteArray withoutSpans(QByteArray bytes, const Layout& layout)
{
    for (auto mapping = layout.mappings.rbegin(); mapping != layout.mappings.rend(); ++mapping)
        bytes.remove(mapping->second.begin, mapping->second.end - mapping->second.begin);
    return bytes;
}

} // namespace

std::optional<QByteArray> withoutInputMappings(const QByteArray& settings)
{
    const std::optional<Layout> layout = LayoutReader(settings).read();
    if (!layout)
        return std::nullopt;
    return withoutSpans(settings, *layout);
}

std::optional<QByteArray> withInputMappingsOf(const QByteArray& saved, const QByteArray& users)
{
    const std::optional<Layout> own = LayoutReader(users).read();
    std::optional<QByteArray> merged = withoutInputMappings(saved);
    if (!own || !merged)
        return std::nullopt;
    // System by system, the last first: each insertion leaves the places before it as they are.
    for (std::size_t index = own->systems.size(); index-- > 0;) {
        QByteArray mappings;
        for (const auto& [system, span] : own->mappings)
            if (system == index)
                mappings += users.mid(span.begin, span.end - span.begin);
        if (mappings.isEmpty())
            continue;
        const std::optional<Layout> layout = LayoutReader(*merged).read();
        const QByteArray& name = own->systems[index].name;
        const auto placed =
            std::find_if(layout->systems.begin(), layout->systems.end(),
                         [&name](const SystemLayout& system) { return system.name == name; });
        if (placed == layout->systems.end())
            return std::nullopt;
        merged = placeMappings(*merged, *placed, mappings);
        if (!merged)
            return std::nullopt;
    }
    return merged;
}

} // namespace zefrin
