#include "host/KVAutopilot.h"

#include <fstream>
#include <utility>

#include "host/KVHostOptions.h"
#include "host/KVHostReport.h"

namespace {

// Correctable errors are tried again once; a person who hits the same wall twice gives up.
const int kTriesPerPage = 2;

std::string PageShortName(KVWizardPage page) {
    const int index = static_cast<int>(page) - 1;
    const std::vector<std::string>& pages = KVHostOptions::Pages();
    return index >= 0 && index < static_cast<int>(pages.size()) ? pages[static_cast<size_t>(index)] : "none";
}

}  // namespace

KVAutopilot::KVAutopilot(KVAutopilotPlan plan, Say say) : plan_(std::move(plan)), say_(std::move(say)) {}

void KVAutopilot::StartRun() {
    hostThread_ = GetCurrentThreadId();
    runEnded_ = false;
    codesTyped_ = 0;
    submitted_ = KVWizardPage::None;
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
            return runEnded_.load() || d.HasMessageBox() || d.ReadyPage() != KVWizardPage::None;
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
        const KVWizardPage page = d.ReadyPage();
        if (page == KVWizardPage::None) continue;
        Act(d, page);
        d.WaitUntil(std::string("the wizard to leave ") + KVWizardPageName(page), [this, &d, page] {
            return runEnded_.load() || d.HasMessageBox() || d.ReadyPage() != page;
        });
    }
}

void KVAutopilot::Act(KVWizardDriver& d, KVWizardPage page) {
    if (plan_.cancelOn == PageShortName(page)) {
        Snap(d, page);
        return Cancel(d, "as asked");
    }
    if (errors_[page] >= kTriesPerPage && page != KVWizardPage::Validate)
        return Cancel(d, "after the same page failed " + std::to_string(kTriesPerPage) + " times");
    submitted_ = page;
    switch (page) {
    case KVWizardPage::QueryRegister:
        d.Type(kCtlMsisdn, plan_.msisdn);
        d.Type(kCtlEmail, plan_.email);
        d.Type(kCtlConfirmEmail, plan_.email);
        Snap(d, page);
        d.Click(kCtlQueryRegisterNext);
        break;
    case KVWizardPage::UserInfo:
        // With one form page the number and the addresses are asked here.
        if (d.IsVisible(kCtlMsisdn)) d.Type(kCtlMsisdn, plan_.msisdn);
        if (d.IsVisible(kCtlEmail)) d.Type(kCtlEmail, plan_.email);
        if (d.IsVisible(kCtlConfirmEmail)) d.Type(kCtlConfirmEmail, plan_.email);
        if (d.IsVisible(kCtlUserName)) d.Type(kCtlUserName, plan_.name);
        if (d.IsVisible(kCtlPassword)) d.Type(kCtlPassword, plan_.password);
        if (d.IsVisible(kCtlContactPerson)) d.Type(kCtlContactPerson, plan_.contactPerson);
        Snap(d, page);
        d.Click(kCtlUserInfoNext);
        break;
    case KVWizardPage::Pending:
        // Nothing to do but wait: the wizard sends the registration again by itself.
        Snap(d, page);
        break;
    case KVWizardPage::Validate: {
        if (errors_[page] > plan_.wrongCodes) return Cancel(d, "as the right code was refused too");
        std::string code = RightCode();
        if (codesTyped_ < plan_.wrongCodes) {
            // The right code with every digit off by one: wrong, and plainly a typing slip.
            for (char& c : code)
                if (c >= '0' && c <= '9') c = static_cast<char>('0' + (c - '0' + 1) % 10);
            if (code.empty()) code = "000000";
        }
        ++codesTyped_;
        d.Type(kCtlRegCode, code);
        Snap(d, page);
        d.Click(kCtlFinish);
        break;
    }
    case KVWizardPage::RegisterInfo:
        Snap(d, page);
        d.Click(kCtlFinish);
        break;
    case KVWizardPage::None:
        break;
    }
}

void KVAutopilot::Cancel(KVWizardDriver& d, const std::string& why) {
    say_("autopilot: presses Cancel on " + std::string(KVWizardPageName(d.Page())) + " " + why);
    d.Click(kCtlCancel);
}

void KVAutopilot::Snap(KVWizardDriver& d, KVWizardPage page) {
    if (plan_.picturesFolder.empty()) return;
    KVRgbImage picture = d.Capture();
    char number[8];
    snprintf(number, sizeof number, "%02d", ++picture_);
    KVWizardDriver::WritePng(picture, plan_.picturesFolder + "\\" + number + "-" + PageShortName(page) + ".png");
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
