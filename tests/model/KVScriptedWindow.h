// A scripted user at a window: observes the model as the wizard window does and plays its
// moves on a thread of its own, as a person at the window would.
//   KVWindowScript     the moves to make when pages appear, and what the window was told
//   KVScriptedWindow   the observer and its thread
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/KVObserver.h"
#include "register/model/KVRegisterModel.h"

class KVWindowScript {
public:
    using Move = std::function<void(KVRegisterModel&)>;
    struct Message {
        std::string text;
        uint32_t style;
    };

    // When the next page notification shows `page`, make `move` (nothing when empty).
    void OnPage(int32_t page, Move move = nullptr);

    // Presses the page's button.
    static void PressNext(KVRegisterModel& model);
    // What the window sets up while it reads its layout (the number of form pages).
    int32_t userInterface = 1;

    std::vector<uint32_t> Codes();
    std::vector<Message> Messages();
    // Page notifications that came when the script expected another page, or none.
    std::vector<std::string> Surprises();
    bool Finished();

private:
    friend class KVScriptedWindow;
    struct Entry {
        int32_t page;
        Move move;
    };
    std::mutex mutex_;
    std::deque<Entry> entries_;
    std::vector<uint32_t> codes_;
    std::vector<Message> messages_;
    std::vector<std::string> surprises_;
};

class KVScriptedWindow : public KVObserver {
public:
    KVScriptedWindow(KVRegisterModel& model, KVWindowScript& script);
    ~KVScriptedWindow();

    void Update(KVObservable* sender, KVNotifyObject* record) override;
    // Returns when every move handed to the window's thread so far has been made.
    void Settle();

private:
    void Run();

    KVRegisterModel& model_;
    KVWindowScript& script_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<KVWindowScript::Move> queue_;
    bool busy_ = false;
    bool stop_ = false;
    std::thread thread_;
};
