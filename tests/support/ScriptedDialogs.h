// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// UserDialogs answered by a script: records every message and prompt, answers
// questions through a function of the text and prompts from a queue.
#include "UserDialogs.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

struct Message {
    std::string text;
    int style;
    std::string title;
};

struct PromptShown {
    int prompt; // which prompt instance, counted from 1
    std::string path, proposal;
};

class ScriptedDialogs : public Core::UserDialogs {
public:
    // Answer to a question (any box with more than an OK button).
    std::function<int(const std::string& text)> answer = [](const std::string&) { return Core::vbNo; };
    // What the prompts return, in order: a new target, or "" for Cancel (also when run out).
    std::deque<std::string> promptAnswers;
    // A run's word before each file: false stops it there. stopRequested
    // does the same from anywhere, a question's answer included.
    std::function<bool(std::size_t done, std::size_t total, const std::string& next)> progress =
        [](std::size_t, std::size_t, const std::string&) { return true; };
    bool stopRequested = false;

    std::vector<Message> messages;
    std::vector<PromptShown> prompts;
    int promptsMade = 0;

    int MsgBox(const std::string& text, int style, const std::string& title) override
    {
        messages.push_back({text, style, title});
        const int buttons = style & 7; // 3 Yes, No and Cancel; 4 Yes and No
        return buttons == 3 || buttons == 4 ? answer(text) : Core::vbOK;
    }

    std::unique_ptr<Core::ValuePrompt> NewPrompt() override
    {
        return std::make_unique<Prompt>(*this, ++promptsMade);
    }
    bool Progress(std::size_t done, std::size_t total, const std::string& next) override
    {
        return progress(done, total, next) && !stopRequested;
    }

    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const Message& m : messages)
            texts.push_back(m.text);
        return texts;
    }

private:
    class Prompt : public Core::ValuePrompt {
    public:
        Prompt(ScriptedDialogs& owner, int number) : owner_(owner), number_(number) {}
        std::string Ask(const std::string& path, const std::string& proposal) override
        {
            owner_.prompts.push_back({number_, path, proposal});
            std::string result;
            if (!owner_.promptAnswers.empty()) {
                result = owner_.promptAnswers.front();
                owner_.promptAnswers.pop_front();
            }
            cancelled_ = result.empty();
            return result;
        }
        bool CancelPressed() const override { return cancelled_; }

    private:
        ScriptedDialogs& owner_;
        int number_;
        bool cancelled_ = false;
    };
};

} // namespace testing_support
