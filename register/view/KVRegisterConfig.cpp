#include "register/view/KVRegisterConfig.h"

#include <iterator>
#include <utility>

namespace {

constexpr const char* kCheckTexts[] = {
    "File read IP error UseIp [",
    "File read UI error UserInterface [",
    "File read UI error ControlBox [",
    "File unknown component error [",
    "File duplicate component error [",
    "File coordinate error [",
    "File required error [",
    "Page value invalid [",
};
static_assert(std::size(kCheckTexts) == static_cast<size_t>(KVConfigCheck::PageValue) + 1,
              "one log text per check");

constexpr int kSwitchesLine = 3;
constexpr int kFirstDefinitionLine = 4;

// Splits the text at CR LF only; past the end every line is empty, as a missing line reads.
class LineCursor {
public:
    explicit LineCursor(std::string_view text) : rest_(text) {}
    std::string_view Next() {
        const size_t end = rest_.find("\r\n");
        const std::string_view line = rest_.substr(0, end);
        rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 2);
        return line;
    }

private:
    std::string_view rest_;
};

// Comma-separated fields; the last one is the rest of the line, and past the end every field
// is empty and reads as 0.
class FieldCursor {
public:
    explicit FieldCursor(std::string_view line) : rest_(line) {}
    bool Empty() const { return rest_.empty(); }
    std::string_view Rest() const { return rest_; }
    std::string_view Next() {
        const size_t comma = rest_.find(',');
        const std::string_view field = rest_.substr(0, comma);
        rest_ = comma == std::string_view::npos ? std::string_view() : rest_.substr(comma + 1);
        return field;
    }
    int32_t NextInt() { return KVReadConfigInt(Next()); }
    // Reads left, top, right, bottom; false if any of them reads 0.
    bool NextRect(KVConfigRect& rect) {
        rect.left = NextInt();
        rect.top = NextInt();
        rect.right = NextInt();
        rect.bottom = NextInt();
        return rect.left != 0 && rect.top != 0 && rect.right != 0 && rect.bottom != 0;
    }

private:
    std::string_view rest_;
};

class ConfigReader {
public:
    explicit ConfigReader(bool collectAll) : collectAll_(collectAll) {}

    void ReadSize(std::string_view line) {
        const size_t comma = line.find(',');
        const int32_t width = KVReadConfigInt(line.substr(0, comma));
        const int32_t height =
            comma == std::string_view::npos ? 0 : KVReadConfigInt(line.substr(comma + 1));
        if (width >= 1 && height >= 1) {
            config_.sizeGiven = true;
            config_.width = width;
            config_.height = height;
        }
    }

    // False when reading must stop.
    bool ReadSwitches(std::string_view line) {
        FieldCursor fields(line);
        config_.useIp = fields.NextInt();
        if (config_.useIp != 1 && config_.useIp != 2 &&
            !Reject(KVConfigCheck::UseIp, kSwitchesLine, config_.useIp))
            return false;
        config_.userInterface = fields.NextInt();
        if ((config_.userInterface < 0 || config_.userInterface > 2) &&
            !Reject(KVConfigCheck::UserInterface, kSwitchesLine, config_.userInterface))
            return false;
        if (fields.Empty()) return true;
        const int32_t controlBox = KVReadConfigInt(fields.Rest());
        config_.controlBox = controlBox == 1;
        return controlBox == 0 || controlBox == 1 ||
               Reject(KVConfigCheck::ControlBox, kSwitchesLine, controlBox);
    }

    // False when reading must stop.
    bool ReadComponent(std::string_view idField, std::string_view definition, int lineNumber) {
        config_.definitions.push_back({std::string(idField), std::string(definition)});
        KVConfigComponent component;
        component.idField = std::string(idField);
        component.definition = std::string(definition);
        component.lineNumber = lineNumber;
        auto reject = [&](KVConfigCheck check, int32_t value) {
            return Reject(check, lineNumber, value, &component);
        };

        const int32_t id = KVReadConfigInt(idField);
        if (id == COMPONENT_USEREMAIL) config_.emailPresent = true;
        component.row = KVFindComponent(id);
        if (!component.row) return reject(KVConfigCheck::UnknownComponent, id);
        // Each id owns its label and its input control, so a second listing finds both made.
        if (used_[id]) return reject(KVConfigCheck::DuplicateComponent, id);
        used_[id] = true;

        FieldCursor fields(definition);
        if (!fields.NextRect(component.label)) return reject(KVConfigCheck::Coordinate, id);
        const KVComponentKind kind = component.row->kind;
        if (kind == KVComponentKind::Edit || kind == KVComponentKind::Password) {
            const int32_t required = fields.NextInt();
            if (required != 0 && required != 1) return reject(KVConfigCheck::Required, required);
            component.required = required == 1;
        }
        if (kind != KVComponentKind::TextLine && !fields.NextRect(component.input))
            return reject(KVConfigCheck::Coordinate, id);

        const int32_t page = fields.NextInt();
        component.page = KVPageOfField(config_.userInterface, page);
        if (component.page == KVPages::PAGE_NONE) return reject(KVConfigCheck::PageValue, page);

        config_.components.push_back(std::move(component));
        return true;
    }

    KVRegisterConfig Take() { return std::move(config_); }

private:
    // Records the problem; true when reading goes on (collecting every problem).
    bool Reject(KVConfigCheck check, int lineNumber, int32_t value,
                const KVConfigComponent* component = nullptr) {
        KVConfigProblem problem{check, lineNumber, std::to_string(value), {}, {}};
        if (component) {
            problem.idField = component->idField;
            problem.definition = component->definition;
        }
        config_.problems.push_back(std::move(problem));
        return collectAll_;
    }

    const bool collectAll_;
    bool used_[kHighestComponent + 1] = {};
    KVRegisterConfig config_;
};

}  // namespace

std::string KVConfigProblem::LogText() const {
    return kCheckTexts[static_cast<size_t>(check)] + value + "]";
}

uint32_t KVRegisterConfig::RequiredMask(KVPages::Page page) const {
    uint32_t mask = 0;
    for (const KVConfigComponent& component : components)
        if (component.page == page && component.required) mask |= component.row->requiredBit;
    return mask;
}

const KVConfigComponent* KVRegisterConfig::FirstInput(KVPages::Page page) const {
    for (const KVConfigComponent& component : components)
        if (component.page == page && component.row->inputControlId != 0) return &component;
    return nullptr;
}

KVRegisterConfig KVParseRegisterConfig(std::string_view bytes, bool collectAll) {
    ConfigReader reader(collectAll);
    LineCursor lines(bytes);
    reader.ReadSize(lines.Next());
    const std::string_view idList = lines.Next();
    if (!reader.ReadSwitches(lines.Next())) return reader.Take();

    FieldCursor ids(idList);
    for (int lineNumber = kFirstDefinitionLine; !ids.Empty(); ++lineNumber) {
        const std::string_view idField = ids.Next();
        if (!reader.ReadComponent(idField, lines.Next(), lineNumber)) break;
    }
    return reader.Take();
}

int32_t KVReadConfigInt(std::string_view field) {
    size_t i = 0;
    while (i < field.size() && std::string_view(" \t\n\v\f\r").find(field[i]) != std::string_view::npos)
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
    // The magnitude stops growing at the limit, so any number of digits stays defined.
    const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
    uint64_t magnitude = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + static_cast<uint64_t>(field[i] - '0');
        if (magnitude > limit) magnitude = limit;
    }
    return static_cast<int32_t>(negative ? -static_cast<int64_t>(magnitude)
                                         : static_cast<int64_t>(magnitude));
}
