// A forgiving reader for the vector-icon profile: a linear scan over the
// markup (no DOM), path data to absolute segments, fills resolved at the end
// so a gradient may be defined after the path that uses it.
#include "gfx/VectorIcon.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <string>

namespace cadrels {
namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// One SVG number at the front of `text` (after spaces and at most one
// comma), removed from it. "+" signs are accepted; "inf" and "nan" are not.
std::optional<float> TakeNumber(std::string_view& text)
{
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    if (i < text.size() && text[i] == ',') {
        ++i;
        while (i < text.size() && IsSpace(text[i])) {
            ++i;
        }
    }
    size_t start = i;
    if (i < text.size() && text[i] == '+') {
        start = ++i;
    } else if (i < text.size() && text[i] == '-') {
        ++i;
    }
    if (i >= text.size() || !(IsDigit(text[i]) || (text[i] == '.' && i + 1 < text.size() && IsDigit(text[i + 1])))) {
        return std::nullopt;
    }
    float value = 0.0f;
    const char* first = text.data() + start;
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
    if (error != std::errc{}) {
        return std::nullopt;
    }
    text.remove_prefix(static_cast<size_t>(end - text.data()));
    return value;
}

int ArgumentCount(char command)
{
    switch (command | 0x20) {
    case 'm': case 'l': case 't': return 2;
    case 'h': case 'v': return 1;
    case 'c': return 6;
    case 's': case 'q': return 4;
    case 'z': return 0;
    default: return -1;
    }
}

struct Tag {
    std::string_view name;
    std::map<std::string_view, std::string_view> attributes;
    bool closing = false;
    bool selfClosing = false;
};

// The next tag from `text`, which then starts after it. False at the end of
// the text; `broken` says the markup ended inside a tag.
bool NextTag(std::string_view& text, Tag& tag, bool& broken)
{
    for (;;) {
        const size_t open = text.find('<');
        if (open == std::string_view::npos) {
            return false;
        }
        text.remove_prefix(open);
        const auto skipPast = [&](std::string_view terminator) {
            const size_t end = text.find(terminator);
            if (end == std::string_view::npos) {
                broken = true;
                return false;
            }
            text.remove_prefix(end + terminator.size());
            return true;
        };
        if (text.starts_with("<!--")) {
            if (!skipPast("-->")) return false;
            continue;
        }
        if (text.starts_with("<![CDATA[")) {
            if (!skipPast("]]>")) return false;
            continue;
        }
        if (text.starts_with("<?") || text.starts_with("<!")) {
            if (!skipPast(">")) return false;
            continue;
        }
        break;
    }
    tag = Tag{};
    size_t i = 1;
    if (i < text.size() && text[i] == '/') {
        tag.closing = true;
        ++i;
    }
    const size_t nameStart = i;
    while (i < text.size() && !IsSpace(text[i]) && text[i] != '>' && text[i] != '/') {
        ++i;
    }
    tag.name = text.substr(nameStart, i - nameStart);
    for (;;) {
        while (i < text.size() && IsSpace(text[i])) {
            ++i;
        }
        if (i >= text.size()) {
            broken = true;
            return false;
        }
        if (text[i] == '>') {
            ++i;
            break;
        }
        if (text[i] == '/' && i + 1 < text.size() && text[i + 1] == '>') {
            tag.selfClosing = true;
            i += 2;
            break;
        }
        const size_t attributeStart = i;
        while (i < text.size() && text[i] != '=' && !IsSpace(text[i]) && text[i] != '>' && text[i] != '/') {
            ++i;
        }
        const std::string_view attribute = text.substr(attributeStart, i - attributeStart);
        while (i < text.size() && IsSpace(text[i])) {
            ++i;
        }
        if (i >= text.size() || text[i] != '=' || attribute.empty()) {
            broken = true;
            return false;
        }
        ++i;
        while (i < text.size() && IsSpace(text[i])) {
            ++i;
        }
        if (i >= text.size() || (text[i] != '"' && text[i] != '\'')) {
            broken = true;
            return false;
        }
        const char quote = text[i++];
        const size_t valueEnd = text.find(quote, i);
        if (valueEnd == std::string_view::npos) {
            broken = true;
            return false;
        }
        tag.attributes[attribute] = text.substr(i, valueEnd - i);
        i = valueEnd + 1;
    }
    text.remove_prefix(i);
    // "svg:path" and the like: the namespace prefix is not ours to check.
    if (const size_t colon = tag.name.find(':'); colon != std::string_view::npos) {
        tag.name.remove_prefix(colon + 1);
    }
    return true;
}

// An attribute, or the same property inside its style attribute.
std::optional<std::string_view> Property(const Tag& tag, std::string_view name)
{
    if (auto style = tag.attributes.find("style"); style != tag.attributes.end()) {
        std::string_view rest = style->second;
        while (!rest.empty()) {
            const size_t semicolon = rest.find(';');
            const std::string_view declaration = rest.substr(0, semicolon);
            rest = semicolon == std::string_view::npos ? std::string_view{} : rest.substr(semicolon + 1);
            const size_t colon = declaration.find(':');
            if (colon != std::string_view::npos && Trim(declaration.substr(0, colon)) == name) {
                return Trim(declaration.substr(colon + 1));
            }
        }
    }
    if (auto found = tag.attributes.find(name); found != tag.attributes.end()) {
        return Trim(found->second);
    }
    return std::nullopt;
}

// A number, or a percentage as a fraction when `percentBase` is 1.
std::optional<float> ParseLength(std::string_view text, float percentBase)
{
    text = Trim(text);
    const bool percent = text.ends_with('%');
    if (percent) {
        text.remove_suffix(1);
    }
    std::string_view rest = text;
    const std::optional<float> value = TakeNumber(rest);
    if (!value || !Trim(rest).empty()) {
        return std::nullopt;
    }
    return percent ? *value / 100.0f * percentBase : *value;
}

struct Paint {
    enum class Kind { None, Colour, Reference } kind = Kind::Colour;
    std::uint32_t rgb = 0;
    std::string reference;
};

std::optional<Paint> ParsePaint(std::string_view text)
{
    text = Trim(text);
    Paint paint;
    if (text == "none" || text == "transparent") {
        paint.kind = Paint::Kind::None;
        return paint;
    }
    if (text.starts_with("url(")) {
        const size_t hash = text.find('#');
        const size_t close = text.find(')');
        if (hash == std::string_view::npos || close == std::string_view::npos || close < hash) {
            return std::nullopt;
        }
        paint.kind = Paint::Kind::Reference;
        paint.reference = std::string(Trim(text.substr(hash + 1, close - hash - 1)));
        return paint;
    }
    const std::optional<std::uint32_t> colour = ParseColour(text);
    if (!colour) {
        return std::nullopt;
    }
    paint.rgb = *colour;
    return paint;
}

struct Gradient {
    bool boundingBox = true;
    VectorPoint start{0.0f, 0.0f};
    VectorPoint end{1.0f, 0.0f};
    std::vector<GradientStop> stops;
};

struct PendingShape {
    VectorShape shape;
    Paint paint;
};

// Inherited fill and fill rule of the open svg and g elements.
struct Inherited {
    Paint paint;
    bool evenOdd = false;
};

void ApplyInherited(const Tag& tag, Inherited& state)
{
    if (const auto fill = Property(tag, "fill")) {
        if (const std::optional<Paint> paint = ParsePaint(*fill)) {
            state.paint = *paint;
        }
    }
    if (const auto rule = Property(tag, "fill-rule")) {
        state.evenOdd = *rule == "evenodd";
    }
}

std::pair<VectorPoint, VectorPoint> Bounds(const std::vector<PathSegment>& segments)
{
    VectorPoint low{1e30f, 1e30f};
    VectorPoint high{-1e30f, -1e30f};
    for (const PathSegment& segment : segments) {
        const int used = segment.kind == SegmentKind::Cubic ? 3 : segment.kind == SegmentKind::Quadratic ? 2
                       : segment.kind == SegmentKind::Close ? 0 : 1;
        for (int i = 0; i < used; ++i) {
            low.x = std::min(low.x, segment.points[i].x);
            low.y = std::min(low.y, segment.points[i].y);
            high.x = std::max(high.x, segment.points[i].x);
            high.y = std::max(high.y, segment.points[i].y);
        }
    }
    return {low, high};
}

// Fills the shape from its paint; false when nothing is to be painted.
bool ResolveFill(PendingShape& pending, const std::map<std::string, Gradient>& gradients)
{
    VectorFill& fill = pending.shape.fill;
    switch (pending.paint.kind) {
    case Paint::Kind::None:
        return false;
    case Paint::Kind::Colour:
        fill.kind = VectorFill::Kind::Solid;
        fill.rgb = pending.paint.rgb;
        return true;
    case Paint::Kind::Reference:
        break;
    }
    const auto found = gradients.find(pending.paint.reference);
    if (found == gradients.end() || found->second.stops.empty()) {
        // A reference to nothing paints nothing, as in browsers.
        return false;
    }
    const Gradient& gradient = found->second;
    if (gradient.stops.size() == 1) {
        fill.kind = VectorFill::Kind::Solid;
        fill.rgb = gradient.stops.front().rgb;
        return true;
    }
    fill.kind = VectorFill::Kind::LinearGradient;
    fill.stops = gradient.stops;
    fill.start = gradient.start;
    fill.end = gradient.end;
    if (gradient.boundingBox) {
        const auto [low, high] = Bounds(pending.shape.segments);
        const auto place = [&](VectorPoint p) {
            return VectorPoint{low.x + p.x * (high.x - low.x), low.y + p.y * (high.y - low.y)};
        };
        fill.start = place(gradient.start);
        fill.end = place(gradient.end);
    }
    return true;
}

}  // namespace

std::optional<std::uint32_t> ParseColour(std::string_view text)
{
    text = Trim(text);
    const auto hex = [](char c) -> int {
        if (IsDigit(c)) return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    if (text.starts_with('#') && (text.size() == 4 || text.size() == 7)) {
        std::uint32_t rgb = 0;
        for (size_t i = 1; i < text.size(); ++i) {
            const int digit = hex(text[i]);
            if (digit < 0) {
                return std::nullopt;
            }
            rgb = text.size() == 4 ? (rgb << 8) | static_cast<std::uint32_t>(digit * 17) : (rgb << 4) | static_cast<std::uint32_t>(digit);
        }
        return rgb;
    }
    if (text.starts_with("rgb(") && text.ends_with(')')) {
        std::string_view rest = text.substr(4, text.size() - 5);
        std::uint32_t rgb = 0;
        for (int channel = 0; channel < 3; ++channel) {
            const std::optional<float> value = TakeNumber(rest);
            if (!value) {
                return std::nullopt;
            }
            rgb = (rgb << 8) | static_cast<std::uint32_t>(std::clamp(*value, 0.0f, 255.0f) + 0.5f);
        }
        return Trim(rest).empty() ? std::optional<std::uint32_t>(rgb) : std::nullopt;
    }
    static constexpr std::pair<std::string_view, std::uint32_t> Named[] = {
        {"black", 0x000000}, {"white", 0xffffff}, {"red", 0xff0000}, {"green", 0x008000},
        {"blue", 0x0000ff},  {"gray", 0x808080},  {"grey", 0x808080}, {"currentColor", 0x000000},
    };
    for (const auto& [name, rgb] : Named) {
        if (text == name) {
            return rgb;
        }
    }
    return std::nullopt;
}

PathData ParsePathData(std::string_view text)
{
    PathData data;
    VectorPoint current{};
    VectorPoint subpathStart{};
    VectorPoint lastControl{};
    char previous = 0;
    char command = 0;
    std::string_view rest = text;
    for (;;) {
        while (!rest.empty() && (IsSpace(rest.front()) || rest.front() == ',')) {
            rest.remove_prefix(1);
        }
        if (rest.empty()) {
            break;
        }
        const char c = rest.front();
        if (ArgumentCount(c) >= 0) {
            command = c;
            rest.remove_prefix(1);
        } else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') {
            data.complete = false;  // arcs and unknown commands
            break;
        } else if (command == 0 || (command | 0x20) == 'z') {
            data.complete = false;  // numbers with no command to repeat
            break;
        } else if (command == 'M') {
            command = 'L';
        } else if (command == 'm') {
            command = 'l';
        }
        if (data.segments.empty() && (command | 0x20) != 'm') {
            data.complete = false;
            break;
        }
        const int count = ArgumentCount(command);
        float a[6] = {};
        bool ok = true;
        for (int i = 0; i < count && ok; ++i) {
            const std::optional<float> value = TakeNumber(rest);
            ok = value.has_value();
            a[i] = value.value_or(0.0f);
        }
        if (!ok) {
            data.complete = false;
            break;
        }
        const bool relative = command >= 'a';
        const float ox = relative ? current.x : 0.0f;
        const float oy = relative ? current.y : 0.0f;
        const auto at = [&](int i) { return VectorPoint{a[i] + ox, a[i + 1] + oy}; };
        const char upper = static_cast<char>(command & ~0x20);
        // The reflection of the previous control point, when the previous
        // segment was of the same family; else the current point.
        const auto reflected = [&](bool cubicFamily) {
            const char p = static_cast<char>(previous & ~0x20);
            const bool same = cubicFamily ? (p == 'C' || p == 'S') : (p == 'Q' || p == 'T');
            return same ? VectorPoint{2 * current.x - lastControl.x, 2 * current.y - lastControl.y} : current;
        };
        PathSegment segment;
        switch (upper) {
        case 'M':
            segment.kind = SegmentKind::Move;
            segment.points[0] = at(0);
            subpathStart = segment.points[0];
            break;
        case 'L':
            segment.kind = SegmentKind::Line;
            segment.points[0] = at(0);
            break;
        case 'H':
            segment.kind = SegmentKind::Line;
            segment.points[0] = {a[0] + ox, current.y};
            break;
        case 'V':
            segment.kind = SegmentKind::Line;
            segment.points[0] = {current.x, a[0] + oy};
            break;
        case 'C':
            segment.kind = SegmentKind::Cubic;
            segment.points[0] = at(0);
            segment.points[1] = at(2);
            segment.points[2] = at(4);
            lastControl = segment.points[1];
            break;
        case 'S':
            segment.kind = SegmentKind::Cubic;
            segment.points[0] = reflected(true);
            segment.points[1] = at(0);
            segment.points[2] = at(2);
            lastControl = segment.points[1];
            break;
        case 'Q':
            segment.kind = SegmentKind::Quadratic;
            segment.points[0] = at(0);
            segment.points[1] = at(2);
            lastControl = segment.points[0];
            break;
        case 'T':
            segment.kind = SegmentKind::Quadratic;
            segment.points[0] = reflected(false);
            segment.points[1] = at(0);
            lastControl = segment.points[0];
            break;
        default:
            segment.kind = SegmentKind::Close;
            break;
        }
        data.segments.push_back(segment);
        switch (segment.kind) {
        case SegmentKind::Close: current = subpathStart; break;
        case SegmentKind::Cubic: current = segment.points[2]; break;
        case SegmentKind::Quadratic: current = segment.points[1]; break;
        default: current = segment.points[0]; break;
        }
        previous = command;
    }
    return data;
}

std::optional<VectorIcon> ParseVectorIcon(std::string_view text)
{
    VectorIcon icon;
    std::map<std::string, Gradient> gradients;
    std::vector<PendingShape> shapes;
    std::vector<Inherited> inherited{Inherited{}};
    std::vector<std::string_view> open;  // names of the open svg and g elements
    int hiddenDepth = 0;                 // inside defs, clipPath, mask, symbol, pattern
    Gradient* gradient = nullptr;
    bool root = false;

    Tag tag;
    bool broken = false;
    while (NextTag(text, tag, broken)) {
        const std::string_view name = tag.name;
        const bool hiding = name == "defs" || name == "clipPath" || name == "mask" || name == "symbol" ||
                            name == "pattern";
        if (tag.closing) {
            if (name == "linearGradient") {
                gradient = nullptr;
            } else if (hiding) {
                hiddenDepth = std::max(0, hiddenDepth - 1);
            } else if ((name == "svg" || name == "g") && !open.empty()) {
                open.pop_back();
                inherited.pop_back();
            }
            continue;
        }
        if (!root) {
            if (name != "svg") {
                return std::nullopt;
            }
            root = true;
            if (const auto viewBox = Property(tag, "viewBox")) {
                std::string_view rest = *viewBox;
                const auto x = TakeNumber(rest), y = TakeNumber(rest), w = TakeNumber(rest), h = TakeNumber(rest);
                if (!x || !y || !w || !h || *w <= 0.0f || *h <= 0.0f) {
                    return std::nullopt;
                }
                icon.viewX = *x;
                icon.viewY = *y;
                icon.viewWidth = *w;
                icon.viewHeight = *h;
            } else {
                const auto width = Property(tag, "width");
                const auto height = Property(tag, "height");
                const float w = width ? ParseLength(*width, 0.0f).value_or(0.0f) : 0.0f;
                const float h = height ? ParseLength(*height, 0.0f).value_or(0.0f) : 0.0f;
                if (w > 0.0f && h > 0.0f) {
                    icon.viewWidth = w;
                    icon.viewHeight = h;
                }
            }
        }
        if (hiding) {
            if (!tag.selfClosing) {
                ++hiddenDepth;
            }
            continue;
        }
        if (name == "svg" || name == "g") {
            if (!tag.selfClosing) {
                Inherited state = inherited.back();
                ApplyInherited(tag, state);
                inherited.push_back(state);
                open.push_back(name);
            }
        } else if (name == "linearGradient") {
            const auto id = tag.attributes.find("id");
            if (id == tag.attributes.end()) {
                continue;
            }
            Gradient& made = gradients[std::string(id->second)];
            made = Gradient{};
            const auto units = Property(tag, "gradientUnits");
            made.boundingBox = !(units && *units == "userSpaceOnUse");
            // Percentages are fractions of the bounding box, or of the view
            // box in user space.
            const float baseX = made.boundingBox ? 1.0f : icon.viewWidth;
            const float baseY = made.boundingBox ? 1.0f : icon.viewHeight;
            const auto coordinate = [&](std::string_view attribute, float base, float fallback) {
                const auto value = Property(tag, attribute);
                return value ? ParseLength(*value, base).value_or(fallback) : fallback;
            };
            made.start = {coordinate("x1", baseX, 0.0f), coordinate("y1", baseY, 0.0f)};
            made.end = {coordinate("x2", baseX, baseX), coordinate("y2", baseY, 0.0f)};
            gradient = tag.selfClosing ? nullptr : &made;
        } else if (name == "stop" && gradient != nullptr) {
            GradientStop stop;
            if (const auto offset = Property(tag, "offset")) {
                stop.offset = std::clamp(ParseLength(*offset, 1.0f).value_or(0.0f), 0.0f, 1.0f);
            }
            if (!gradient->stops.empty()) {
                stop.offset = std::max(stop.offset, gradient->stops.back().offset);
            }
            if (const auto colour = Property(tag, "stop-color")) {
                stop.rgb = ParseColour(*colour).value_or(0);
            }
            gradient->stops.push_back(stop);
        } else if (name == "path" && hiddenDepth == 0) {
            const auto d = tag.attributes.find("d");
            if (d == tag.attributes.end()) {
                continue;
            }
            PendingShape pending;
            pending.shape.segments = ParsePathData(d->second).segments;
            Inherited state = inherited.back();
            ApplyInherited(tag, state);
            pending.paint = state.paint;
            pending.shape.evenOdd = state.evenOdd;
            if (!pending.shape.segments.empty()) {
                shapes.push_back(std::move(pending));
            }
        }
    }
    if (broken || !root) {
        return std::nullopt;
    }
    for (PendingShape& pending : shapes) {
        if (ResolveFill(pending, gradients)) {
            icon.shapes.push_back(std::move(pending.shape));
        }
    }
    return icon;
}

}  // namespace cadrels
