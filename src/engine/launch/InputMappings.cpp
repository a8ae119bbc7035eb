#include "InputMappings.h"

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

// Puts `content` at the end of the element `placed` of `bytes` (named `name`), opening it when
// it is written as an empty element.
QByteArray intoElement(QByteArray bytes, const Placed& placed, const QByteArray& content,
                       const QByteArray& name)
{
    if (!placed.empty)
        return bytes.insert(placed.lastEnd, content);
    qsizetype slash = placed.startTag.end - 2;
    while (isBlank(bytes.at(slash - 1)))
        --slash;
    return bytes.replace(slash, placed.startTag.end - slash,
                         ">" + content + lineEndOf(bytes) +
                             indentationBefore(bytes, placed.startTag.begin) + "</" + name + ">");
}

// Puts `mappings` (whole lines of port elements) into the system `placed` of `bytes`.
std::optional<QByteArray> placeMappings(const QByteArray& bytes, const SystemLayout& placed,
                                        const QByteArray& mappings)
{
    if (placed.input)
        return placed.input->empty ? std::nullopt
                                   : std::optional(intoElement(bytes, *placed.input, mappings, {}));
    const QByteArray eol = lineEndOf(bytes);
    const QByteArray outer = indentationBefore(bytes, placed.system.startTag.begin);
    const QByteArray inner = outer + (outer.isEmpty() ? QByteArray("\t") : outer);
    return intoElement(bytes, placed.system,
                       eol + inner + "<input>" + mappings + eol + inner + "</input>", "system");
}

QByteArray withoutSpans(QByteArray bytes, const Layout& layout)
{
    std::vector<Span> spans;
    for (const PortLayout& port : layout.ports)
        if (port.holdsSettings)
            spans.insert(spans.end(), port.newseqs.begin(), port.newseqs.end());
        else if (!port.newseqs.empty())
            spans.push_back(port.whole);
    for (auto span = spans.rbegin(); span != spans.rend(); ++span)
        bytes.remove(span->begin, span->end - span->begin);
    return bytes;
}

QByteArray joined(const QByteArray& bytes, const std::vector<Span>& spans)
{
    QByteArray text;
    for (const Span& span : spans)
        text += bytes.mid(span.begin, span.end - span.begin);
    return text;
}

// The user's mappings of the system `index` of `own` put into the same system of `merged`: into
// the port of the same input where `merged` has one (with the settings the run left), else as
// the user's whole port at the end of the input.
std::optional<QByteArray> withSystemMappings(const QByteArray& merged, const QByteArray& users,
                                             const Layout& own, std::size_t index)
{
    if (std::none_of(own.ports.begin(), own.ports.end(), [index](const PortLayout& port) {
            return port.system == index && !port.newseqs.empty();
        }))
        return merged;
    const std::optional<Layout> layout = LayoutReader(merged).read();
    const QByteArray& name = own.systems[index].name;
    const auto placed =
        std::find_if(layout->systems.begin(), layout->systems.end(),
                     [&name](const SystemLayout& system) { return system.name == name; });
    if (placed == layout->systems.end())
        return std::nullopt;
    const std::size_t system = std::size_t(placed - layout->systems.begin());
    QByteArray appended;
    std::map<std::size_t, QByteArray> intoPorts; // by port of `layout`
    for (const PortLayout& port : own.ports) {
        if (port.system != index || port.newseqs.empty())
            continue;
        const auto same =
            std::find_if(layout->ports.begin(), layout->ports.end(), [&](const PortLayout& other) {
                return other.system == system && other.key == port.key;
            });
        if (same == layout->ports.end())
            appended += users.mid(port.whole.begin, port.whole.end - port.whole.begin);
        else
            intoPorts[std::size_t(same - layout->ports.begin())] += joined(users, port.newseqs);
    }
    // The last place first: each insertion leaves the places before it as they are.
    std::optional<QByteArray> result =
        appended.isEmpty() ? std::optional(merged) : placeMappings(merged, *placed, appended);
    for (auto into = intoPorts.rbegin(); result && into != intoPorts.rend(); ++into)
        result = intoElement(*result, layout->ports[into->first].placed, into->second, "port");
    return result;
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
    for (std::size_t index = own->systems.size(); merged && index-- > 0;)
        merged = withSystemMappings(*merged, users, *own, index);
    return merged;
}

} // namespace zefrin
