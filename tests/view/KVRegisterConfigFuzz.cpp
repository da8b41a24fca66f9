// libFuzzer target for the register.cfg reader: any bytes, no fault, and what it read obeys
// the file's rules in both reading modes.
#include "register/view/KVRegisterConfig.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tests/common/KVFuzzRequire.h"

namespace {

bool NoZero(const KVConfigRect& r) {
    return r.left != 0 && r.top != 0 && r.right != 0 && r.bottom != 0;
}

bool SameProblem(const KVConfigProblem& a, const KVConfigProblem& b) {
    return a.check == b.check && a.lineNumber == b.lineNumber && a.value == b.value &&
           a.idField == b.idField && a.definition == b.definition;
}

void CheckComponents(const KVRegisterConfig& config) {
    for (const KVConfigComponent& c : config.components) {
        Require(c.row != nullptr && KVFindComponent(c.row->number) == c.row);
        Require(NoZero(c.label));
        Require(c.row->kind == KVComponentKind::TextLine ? !NoZero(c.input) : NoZero(c.input));
        Require(!c.required || c.row->kind == KVComponentKind::Edit || c.row->kind == KVComponentKind::Password);
        Require(c.lineNumber >= 4);
    }
    for (KVPages::Page page : {KVPages::PAGE_QUERYREGISTER, KVPages::PAGE_USERINFO}) {
        Require((config.RequiredMask(page) & ~uint32_t{127}) == 0);
        const KVConfigComponent* first = config.FirstInput(page);
        Require(!first || (first->page == page && first->row->inputControlId != 0));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const KVRegisterConfig first = KVParseRegisterConfig(bytes);
    const KVRegisterConfig all = KVParseRegisterConfig(bytes, true);
    CheckComponents(first);
    CheckComponents(all);

    // Stopping early sees the first problem of the full reading, and nothing after it.
    Require(first.problems.size() <= 1);
    Require(first.Failed() == all.Failed());
    if (first.Failed()) Require(SameProblem(first.problems[0], all.problems[0]));
    if (!first.Failed()) Require(first.components.size() == first.definitions.size());
    Require(first.components.size() <= all.components.size());
    Require(first.definitions.size() <= all.definitions.size());
    for (size_t i = 0; i < first.components.size(); ++i)
        Require(first.components[i].lineNumber == all.components[i].lineNumber);
    Require(all.components.size() + all.problems.size() >= all.definitions.size());
    Require(first.width == all.width && first.height == all.height);
    Require(!first.sizeGiven || (first.width >= 1 && first.height >= 1));

    for (const KVConfigProblem& p : all.problems) {
        const std::string text = p.LogText();
        Require(!text.empty() && text.back() == ']');
        Require(p.lineNumber >= 3);
    }
    return 0;
}
