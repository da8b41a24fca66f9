#include "tests/model/KVScriptedWindow.h"

void KVWindowScript::OnPage(int32_t page, Move move) {
    std::lock_guard<std::mutex> hold(mutex_);
    entries_.push_back({page, std::move(move)});
}

void KVWindowScript::PressNext(KVRegisterModel& model) { model.NextPage(); }

std::vector<uint32_t> KVWindowScript::Codes() {
    std::lock_guard<std::mutex> hold(mutex_);
    return codes_;
}

std::vector<KVWindowScript::Message> KVWindowScript::Messages() {
    std::lock_guard<std::mutex> hold(mutex_);
    return messages_;
}

std::vector<std::string> KVWindowScript::Surprises() {
    std::lock_guard<std::mutex> hold(mutex_);
    return surprises_;
}

bool KVWindowScript::Finished() {
    std::lock_guard<std::mutex> hold(mutex_);
    return entries_.empty();
}

KVScriptedWindow::KVScriptedWindow(KVRegisterModel& model, KVWindowScript& script)
    : model_(model), script_(script) {
    // As the real window does while it reads its layout, before the first step goes on.
    model_.SetUserInterface(script_.userInterface);
    model_.AddObserver(this);
    thread_ = std::thread([this] { Run(); });
}

KVScriptedWindow::~KVScriptedWindow() {
    model_.RemoveObserver(this);
    {
        std::lock_guard<std::mutex> hold(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void KVScriptedWindow::Update(KVObservable*, KVNotifyObject* record) {
    const uint32_t code = record->code;
    KVWindowScript::Move move;
    {
        std::lock_guard<std::mutex> hold(script_.mutex_);
        script_.codes_.push_back(code);
        // A message box is answered at once, on the notifying thread, like the real one.
        if (code == KVRegisterModel::NOTIFY_MESSAGE)
            script_.messages_.push_back({model_.GetMessageText(), model_.GetMessageStyle()});
        if (code < KVRegisterModel::PAGE_QUERYREGISTER || code > KVRegisterModel::PAGE_REGISTERINFO)
            return;
        if (script_.entries_.empty() || script_.entries_.front().page != static_cast<int32_t>(code)) {
            script_.surprises_.push_back(
                "page " + std::to_string(code) + " shown, script expected " +
                (script_.entries_.empty() ? std::string("none")
                                          : std::to_string(script_.entries_.front().page)));
            // A user who does not know the page gives up, so a wrong page fails the test
            // instead of leaving the step waiting for ever.
            move = [](KVRegisterModel& model) { model.Cancel(); };
        } else {
            move = std::move(script_.entries_.front().move);
            script_.entries_.pop_front();
        }
    }
    if (!move) return;
    {
        std::lock_guard<std::mutex> hold(mutex_);
        queue_.push_back(std::move(move));
    }
    wake_.notify_all();
}

void KVScriptedWindow::Run() {
    std::unique_lock<std::mutex> hold(mutex_);
    for (;;) {
        wake_.wait(hold, [this] { return stop_ || !queue_.empty(); });
        if (queue_.empty()) return;
        KVWindowScript::Move move = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        hold.unlock();
        move(model_);
        hold.lock();
        busy_ = false;
        wake_.notify_all();
    }
}

void KVScriptedWindow::Settle() {
    std::unique_lock<std::mutex> hold(mutex_);
    wake_.wait(hold, [this] { return queue_.empty() && !busy_; });
}
