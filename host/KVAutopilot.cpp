#include "host/KVAutopilot.h"

#include <fstream>
#include <utility>

#include "host/KVHostOptions.h"
#include "host/KVHostReport.h"

namespace {

// Correctable errors are tried again once; a person who hits the same wall twice gives up.
const int kTriesPerPage = 2;

}  // namespace

KVAutopilot::KVAutopilot(KVAutopilotPlan plan, Say say) : plan_(std::move(plan)), say_(std::move(say)) {}

void KVAutopilot::StartRun() {
    hostThread_ = GetCurrentThreadId();
    runEnded_ = false;
    codesTyped_ = 0;
    submitted_ = KVPages::PAGE_NONE;
    errors_.clear();
    driver_.Play([this](KVWizardDriver& d) { Play(d); });
}

std::string KVAutopilot::EndRun() {
    runEnded_ = true;
    driver_.Wake();
    const std::string failure = driver_.Await(plan_.waitLimitMs + 10000);
    try {
        WriteContactSheet();
    } catch (const std::exception& e) {
        return failure.empty() ? e.what() : failure;
    }
    return failure;
}

void KVAutopilot::Play(KVWizardDriver& d) {
    d.SetTimeout(plan_.waitLimitMs);
    d.WatchThread(hostThread_);
    for (;;) {
        d.WaitUntil("a page to work on, a message box, or the end of the run", [this, &d] {
            return runEnded_.load() || d.HasMessageBox() || d.ReadyPage() != KVPages::PAGE_NONE;
        });
        if (d.HasMessageBox()) {
            const KVMessageBoxInfo box = d.WaitForMessageBox();
            say_("autopilot: message box \"" + KVHostReport::OneLine(box.text, " ") + "\"");
            ++errors_[submitted_];
            d.DismissMessageBox(box);
            continue;
        }
        if (runEnded_) return;
        // A page is switched by several messages: act on what holds once they are handled.
        d.Settle();
        const KVPages::Page page = d.ReadyPage();
        if (page == KVPages::PAGE_NONE) continue;
        Act(d, page);
        d.WaitUntil(std::string("the wizard to leave ") + KVNamesOf(page).constant, [this, &d, page] {
            return runEnded_.load() || d.HasMessageBox() || d.ReadyPage() != page;
        });
    }
}

void KVAutopilot::Act(KVWizardDriver& d, KVPages::Page page) {
    if (plan_.cancelOn == KVNamesOf(page).shortName) {
        Snap(d, page);
        return Cancel(d, "as asked");
    }
    if (errors_[page] >= kTriesPerPage && page != KVPages::PAGE_VALIDATE)
        return Cancel(d, "after the same page failed " + std::to_string(kTriesPerPage) + " times");
    submitted_ = page;
    switch (page) {
    case KVPages::PAGE_QUERYREGISTER:
        d.Type(KVInputId(COMPONENT_MSISDN), plan_.msisdn);
        d.Type(KVInputId(COMPONENT_USEREMAIL), plan_.email);
        d.Type(KVInputId(COMPONENT_CONFIRMUSEREMAIL), plan_.email);
        Snap(d, page);
        d.Click(ID_QUERYREGISTER_NEXT);
        break;
    case KVPages::PAGE_USERINFO:
        // With one form page the number and the addresses are asked here.
        if (d.IsVisible(KVInputId(COMPONENT_MSISDN))) d.Type(KVInputId(COMPONENT_MSISDN), plan_.msisdn);
        if (d.IsVisible(KVInputId(COMPONENT_USEREMAIL))) d.Type(KVInputId(COMPONENT_USEREMAIL), plan_.email);
        if (d.IsVisible(KVInputId(COMPONENT_CONFIRMUSEREMAIL))) d.Type(KVInputId(COMPONENT_CONFIRMUSEREMAIL), plan_.email);
        if (d.IsVisible(KVInputId(COMPONENT_USERNAME))) d.Type(KVInputId(COMPONENT_USERNAME), plan_.name);
        if (d.IsVisible(KVInputId(COMPONENT_USERPASSWORD))) d.Type(KVInputId(COMPONENT_USERPASSWORD), plan_.password);
        if (d.IsVisible(KVInputId(COMPONENT_CONTACTPERSON))) d.Type(KVInputId(COMPONENT_CONTACTPERSON), plan_.contactPerson);
        Snap(d, page);
        d.Click(ID_USERINFO_NEXT);
        break;
    case KVPages::PAGE_PENDING:
        // Nothing to do but wait: the wizard sends the registration again by itself.
        Snap(d, page);
        break;
    case KVPages::PAGE_VALIDATE: {
        if (errors_[page] > plan_.wrongCodes) return Cancel(d, "as the right code was refused too");
        std::string code = RightCode();
        if (codesTyped_ < plan_.wrongCodes) {
            // The right code with every digit off by one: wrong, and plainly a typing slip.
            for (char& c : code)
                if (c >= '0' && c <= '9') c = static_cast<char>('0' + (c - '0' + 1) % 10);
            if (code.empty()) code = "000000";
        }
        ++codesTyped_;
        d.Type(ID_REGCODE, code);
        Snap(d, page);
        d.Click(ID_VALIDATE_FINISH);
        break;
    }
    case KVPages::PAGE_REGISTERINFO:
        Snap(d, page);
        d.Click(ID_VALIDATE_FINISH);
        break;
    case KVPages::PAGE_NONE:
        break;
    }
}

void KVAutopilot::Cancel(KVWizardDriver& d, const std::string& why) {
    say_("autopilot: presses Cancel on " + std::string(KVNamesOf(d.Page()).constant) + " " + why);
    d.Click(ID_CANCEL);
}

void KVAutopilot::Snap(KVWizardDriver& d, KVPages::Page page) {
    if (plan_.picturesFolder.empty()) return;
    KVRgbImage picture = d.Capture();
    char number[8];
    snprintf(number, sizeof number, "%02d", ++picture_);
    KVWizardDriver::WritePng(picture, plan_.picturesFolder + "\\" + number + "-" + KVNamesOf(page).shortName + ".png");
    firsts_.emplace(page, std::move(picture));
}

std::string KVAutopilot::RightCode() const {
    std::ifstream file(plan_.codeFile, std::ios::binary);
    std::string code;
    file >> code;
    if (code.empty()) throw KVDriverError("no registration code has arrived in " + plan_.codeFile);
    return code;
}

void KVAutopilot::WriteContactSheet() {
    if (plan_.picturesFolder.empty() || firsts_.empty()) return;
    std::vector<KVRgbImage> pictures;
    for (const auto& first : firsts_) pictures.push_back(first.second);  // in page order
    const KVRgbImage sheet = KVRgbImage::SideBySide(pictures, 16, 0x404850);
    KVWizardDriver::WritePng(sheet, plan_.picturesFolder + "\\contact-sheet.png");
}
