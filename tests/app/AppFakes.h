#pragma once

#include "app/window/KeyboardLocks.h"
#include "app/window/Prompter.h"

#include <QStringList>
#include <deque>
#include <vector>

// Answers the editor's questions and file dialogs from queues, and records what it was asked and told.
class FakePrompter final : public Prompter
{
public:
    struct Shown
    {
        QString title;
        QString text;
        Icon icon;
    };

    bool AskYesNo(QWidget *, const QString &title, const QString &text) override
    {
        questions.push_back({title, text, Icon::Warning});
        if (answers.empty())
            return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void ShowMessage(QWidget *, const QString &title, const QString &text, Icon icon) override
    {
        messages.push_back({title, text, icon});
    }

    FileChoice ChooseFileToOpen(QWidget *, const QString &startFolder, const QString &filter) override
    {
        openStarts += startFolder;
        openFilters += filter;
        return Next(openChoices, startFolder);
    }

    FileChoice ChooseFileToSave(QWidget *, const QString &startFolder, const QString &filter) override
    {
        saveStarts += startFolder;
        saveFilters += filter;
        return Next(saveChoices, startFolder);
    }

    std::deque<bool> answers;
    std::deque<FileChoice> openChoices;
    std::deque<FileChoice> saveChoices;
    std::vector<Shown> questions;
    std::vector<Shown> messages;
    QStringList openStarts, openFilters, saveStarts, saveFilters;

private:
    // With nothing queued the user cancels where the dialog started.
    static FileChoice Next(std::deque<FileChoice> &choices, const QString &startFolder)
    {
        if (choices.empty())
            return {QString(), startFolder};
        FileChoice choice = choices.front();
        choices.pop_front();
        return choice;
    }
};

// Lock keys that toggle when pressed, and remember every press.
class FakeKeyboardLocks final : public KeyboardLocks
{
public:
    bool IsOn(int virtualKey) const override { return virtualKey == CapsLockKey && capsLock; }
    void PressKey(int virtualKey) override
    {
        presses.push_back(virtualKey);
        if (virtualKey == CapsLockKey)
            capsLock = !capsLock;
    }

    bool capsLock = false;
    std::vector<int> presses;
};
