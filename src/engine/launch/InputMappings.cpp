#include "InputMappings.h"

#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <map>
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

// A <port> of a system's <input>.
struct PortLayout {
    std::size_t system = 0; // of Layout::systems
    QByteArray key;         // its tag, type and mask: the input it is of
    Placed placed;
    Span whole;                // with the line break and indentation before it
    std::vector<Span> newseqs; // each so too
    // Attributes besides the key (a value, an analog input's sensitivity...): a setting that
    // stays when its mappings yield.
    bool holdsSettings = false;
};

struct Layout {
    std::vector<SystemLayout> systems;
    std::vector<PortLayout> ports;
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

// The attributes of a start tag, by name, their values as written.
std::vector<std::pair<QByteArray, QByteArray>> attributes(const QByteArray& bytes, Span tag)
{
    static const QRegularExpression attribute(
        QStringLiteral("\\s([^\\s=/>]+)\\s*=\\s*(\"([^\"]*)\"|'([^']*)')"));
    std::vector<std::pair<QByteArray, QByteArray>> found;
    QRegularExpressionMatchIterator match =
        attribute.globalMatch(QString::fromLatin1(bytes.mid(tag.begin, tag.end - tag.begin)));
    while (match.hasNext()) {
        const QRegularExpressionMatch one = match.next();
        found.emplace_back(one.captured(1).toLatin1(),
                           (one.captured(3) + one.captured(4)).toLatin1());
    }
    return found;
}

QByteArray nameAttribute(const QByteArray& bytes, Span tag)
{
    for (const auto& [name, value] : attributes(bytes, tag))
        if (name == "name")
            return value;
    return {};
}

// The input a port is of, and whether it holds a setting besides.
std::pair<QByteArray, bool> portKey(const QByteArray& bytes, Span tag)
{
    static const QList<QByteArray> keyNames{"tag", "type", "mask"};
    QByteArray key;
    bool settings = false;
    for (const auto& [name, value] : attributes(bytes, tag))
        if (keyNames.contains(name))
            key += name + '=' + value + '\0';
        else if (name != "defvalue")
            settings = true;
    return {key, settings};
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
    std::vector<Span> newseqs;
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
        open_.push_back({tagName(bytes_, tag), tag, tag.end, {}});
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
        else if (depth == 3 && inSystem && open_[2].name == "input" && element.name == "port") {
            const auto [key, settings] = portKey(bytes_, element.startTag);
            layout_.ports.push_back({layout_.systems.size() - 1,
                                     key,
                                     placed,
                                     {withLineBefore(bytes_, element.startTag.begin), end},
                                     element.newseqs,
                                     settings});
        } else if (depth == 4 && element.name == "newseq" && open_.back().name == "port")
            open_.back().newseqs.push_back({withLineBefore(bytes_, element.startTag.begin), end});
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

// A change of the file: the bytes from `from` to `to` replaced by `text`.
struct Edit {
    qsizetype from = 0;
    qsizetype to = 0;
    QByteArray text;
};

// All the edits in one pass (each at its place in `bytes`, none overlapping): a file of
// thousands of mappings takes no longer than reading it.
QByteArray edited(const QByteArray& bytes, std::vector<Edit> edits)
{
    std::stable_sort(edits.begin(), edits.end(),
                     [](const Edit& a, const Edit& b) { return a.from < b.from; });
    QByteArray result;
    qsizetype at = 0;
    for (const Edit& edit : edits) {
        result += bytes.mid(at, edit.from - at) + edit.text;
        at = edit.to;
    }
    return result + bytes.mid(at);
}

// Puts `content` at the end of the element `placed` of `bytes` (named `name`), opening it when
// it is written as an empty element.
Edit intoElement(const QByteArray& bytes, const Placed& placed, const QByteArray& content,
                 const QByteArray& name, const QByteArray& eol)
{
    if (!placed.empty)
        return {placed.lastEnd, placed.lastEnd, content};
    qsizetype slash = placed.startTag.end - 2;
    while (isBlank(bytes.at(slash - 1)))
        --slash;
    return {slash, placed.startTag.end,
            ">" + content + eol + indentationBefore(bytes, placed.startTag.begin) + "</" + name +
                ">"};
}

// Puts `mappings` (whole lines of port elements) into the system `placed` of `bytes`.
std::optional<Edit> placeMappings(const QByteArray& bytes, const SystemLayout& placed,
                                  const QByteArray& mappings, const QByteArray& eol)
{
    if (placed.input)
        return placed.input->empty
                   ? std::nullopt
                   : std::optional(intoElement(bytes, *placed.input, mappings, {}, eol));
    const QByteArray outer = indentationBefore(bytes, placed.system.startTag.begin);
    const QByteArray inner = outer + (outer.isEmpty() ? QByteArray("\t") : outer);
    return intoElement(bytes, placed.system,
                       eol + inner + "<input>" + mappings + eol + inner + "</input>", "system",
                       eol);
}

QByteArray withoutSpans(const QByteArray& bytes, const Layout& layout)
{
    std::vector<Edit> edits;
    for (const PortLayout& port : layout.ports)
        if (port.holdsSettings)
            for (const Span& newseq : port.newseqs)
                edits.push_back({newseq.begin, newseq.end, {}});
        else if (!port.newseqs.empty())
            edits.push_back({port.whole.begin, port.whole.end, {}});
    return edited(bytes, std::move(edits));
}

QByteArray joined(const QByteArray& bytes, const std::vector<Span>& spans)
{
    QByteArray text;
    for (const Span& span : spans)
        text += bytes.mid(span.begin, span.end - span.begin);
    return text;
}

// The edits that put the user's mappings (of `users`, laid out as `own`) into `merged` (laid
// out as `layout`), system by system of the same name: into the port of the same input where
// `merged` has one (with the settings the run left), else as the user's whole port at the end
// of the input. Nothing when a system with mappings is not in `merged`.
std::optional<std::vector<Edit>> mappingEdits(const QByteArray& merged, const Layout& layout,
                                              const QByteArray& users, const Layout& own)
{
    QHash<QByteArray, std::size_t> systems; // the first of each name
    for (std::size_t index = layout.systems.size(); index-- > 0;)
        systems.insert(layout.systems[index].name, index);
    QHash<QByteArray, std::size_t> ports; // by system and input, the first port
    for (std::size_t index = layout.ports.size(); index-- > 0;)
        ports.insert(QByteArray::number(qulonglong(layout.ports[index].system)) + ':' +
                         layout.ports[index].key,
                     index);
    std::map<std::size_t, QByteArray> appended;  // by system of `layout`
    std::map<std::size_t, QByteArray> intoPorts; // by port of `layout`
    for (const PortLayout& port : own.ports) {
        if (port.newseqs.empty())
            continue;
        const auto system = systems.constFind(own.systems[port.system].name);
        if (system == systems.cend())
            return std::nullopt;
        const auto same = ports.constFind(QByteArray::number(qulonglong(*system)) + ':' + port.key);
        if (same == ports.cend())
            appended[*system] += users.mid(port.whole.begin, port.whole.end - port.whole.begin);
        else
            intoPorts[*same] += joined(users, port.newseqs);
    }
    const QByteArray eol = lineEndOf(merged);
    std::vector<Edit> edits;
    for (const auto& [system, mappings] : appended) {
        const std::optional<Edit> placed =
            placeMappings(merged, layout.systems[system], mappings, eol);
        if (!placed)
            return std::nullopt;
        edits.push_back(*placed);
    }
    for (const auto& [port, newseqs] : intoPorts)
        edits.push_back(intoElement(merged, layout.ports[port].placed, newseqs, "port", eol));
    return edits;
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
    const std::optional<QByteArray> merged = withoutInputMappings(saved);
    const std::optional<Layout> layout =
        merged ? LayoutReader(*merged).read() : std::optional<Layout>();
    if (!own || !layout)
        return std::nullopt;
    const std::optional<std::vector<Edit>> edits = mappingEdits(*merged, *layout, users, *own);
    if (!edits)
        return std::nullopt;
    return edited(*merged, *edits);
}

} // namespace zefrin
