// KVRegisterModel between its two threads: the host's thread in a step, and a thread that
// plays the window, fed by the model's notifications. The window itself is driven end to end
// (tests/e2e).
#include "register/model/KVRegisterModel.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/common/KVTestCountryLibrary.h"
#include "tests/support/KVTestEnv.h"

namespace {

// Receives the model's notifications on the notifying thread, as the window does, and hands
// the chosen one to a reaction.
class Observer : public KVObserver {
public:
    std::function<void(uint32_t code)> react;
    std::vector<uint32_t> codes;

    void Update(KVObservable*, KVNotifyObject* record) override {
        codes.push_back(record->code);
        if (react) react(record->code);
    }
};

class KVRegisterModelTest : public ::testing::Test {
protected:
    KVRegisterModelTest() : model(env.KeyPath()) { model.AddObserver(&observer); }
    ~KVRegisterModelTest() override { model.RemoveObserver(&observer); }

    KVTestEnv env;
    KVRegisterModel model;
    Observer observer;
};

// The window's thread hands the code over and, at once, the field it disables reports its
// text again, which the person has typed on meanwhile. The step record is the press's.
TEST_F(KVRegisterModelTest, HandOverKeepsTheFieldsOfThePress) {
    HANDLE pageShown = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    observer.react = [pageShown](uint32_t code) {
        if (code == KVRegisterModel::PAGE_VALIDATE) SetEvent(pageShown);
    };
    const int steps = 1000;
    std::thread window([&] {
        for (int i = 0; i < steps; ++i) {
            if (WaitForSingleObject(pageShown, 10000) != WAIT_OBJECT_0) return;
            const std::string code = std::to_string(1000 + i);
            model.SetRegCode(code);
            model.NextPage();
            model.SetRegCode(code + "99");
        }
    });
    int wrong = 0;
    for (int i = 0; i < steps; ++i) {
        KVActionRecord step;
        model.Register(KVResult(KVRESULT_VALIDATE), step);
        if (step.Action != KVACTION_VALIDATE || step.RegCode != std::to_string(1000 + i)) {
            ADD_FAILURE() << "step " << i + 1 << ": action " << step.Action << ", code " << step.RegCode;
            if (++wrong == 5) break;
        }
    }
    window.join();
    CloseHandle(pageShown);
}

// A first step that is an error the person can correct has no page of its own yet: the person
// is sent to the form page the window shows first, where Next works (over two form pages the
// whole-run suite corrects the number on the query-register page).
TEST_F(KVRegisterModelTest, FirstStepErrorLeadsToTheFirstFormPage) {
    model.SetUserInterface(1);
    // The person cancels once the page is shown.
    observer.react = [this](uint32_t code) {
        if (code == KVRegisterModel::PAGE_USERINFO) model.Cancel();
    };
    KVActionRecord step;
    model.Register(KVServerError("MSISDN ERROR", "server text"), step);
    // The user-info page announces the country to select with it (after the cancel the person
    // made on seeing the page).
    EXPECT_EQ((std::vector<uint32_t>{KVRegisterModel::NOTIFY_MESSAGE, KVRegisterModel::PAGE_USERINFO,
                                     KVRegisterModel::NOTIFY_CONTROLSDISABLED, KVRegisterModel::NOTIFY_COUNTRY,
                                     KVRegisterModel::NOTIFY_ENDING}),
              observer.codes);
    EXPECT_EQ(KVRegisterModel::STYLE_CORRECTABLE, model.GetMessageStyle());
    EXPECT_EQ(KVACTION_CANCEL, step.Action);
}

// Nothing has started the country-code service when the first number is checked (a run
// without form pages checks at once): the check starts it for the model's run, and only once.
TEST_F(KVRegisterModelTest, NumberCheckStartsTheCountryServiceOfItsRunOnce) {
    KVTestCountryLibrary::InstallShared(env);
    KVTestCountryLibrary::ClearCalls();
    KVRegisterModel fresh(env.KeyPath());
    for (int check = 0; check < 2; ++check) {
        fresh.SetMsisdn("+4791234567");
        EXPECT_TRUE(fresh.ValidateMsisdn()) << "check " << check + 1;
    }
    EXPECT_EQ("Norway", fresh.GetCountry()) << "the home country is preselected";
    EXPECT_EQ(0, fresh.StartCountryService());
    const std::string calls = KVTestCountryLibrary::Calls();
    EXPECT_EQ(0u, calls.find("KVCountryInit " + env.KeyPath() + "\n")) << calls;
    EXPECT_EQ(std::string::npos, calls.find("KVCountryInit", 1)) << calls;
}

}  // namespace
