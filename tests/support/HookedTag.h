// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A real tag object with hooks around each read and write, so a test can
// change the file system behind a run's back at an exact moment.
#include "TMP3Tag.h"
#include "TagObjects.h"

#include <functional>

namespace testing_support {

class HookedTag : public Quenlar::_TMP3Tag {
public:
    std::function<void(const std::string& path)> beforeRead = [](const std::string&) {};
    std::function<void(const std::string& path)> beforeWrite = [](const std::string&) {};
    std::function<void(const std::string& path)> afterWrite = [](const std::string&) {};

    bool ValidTag() const override { return tag_->ValidTag(); }
    std::string Title() const override { return tag_->Title(); }
    void SetTitle(const std::string& v) override { tag_->SetTitle(v); }
    std::string Artist() const override { return tag_->Artist(); }
    void SetArtist(const std::string& v) override { tag_->SetArtist(v); }
    std::string Album() const override { return tag_->Album(); }
    void SetAlbum(const std::string& v) override { tag_->SetAlbum(v); }
    std::string Comment() const override { return tag_->Comment(); }
    void SetComment(const std::string& v) override { tag_->SetComment(v); }
    std::string Year() const override { return tag_->Year(); }
    void SetYear(const std::string& v) override { tag_->SetYear(v); }
    std::uint8_t Genre() const override { return tag_->Genre(); }
    void SetGenre(std::uint8_t v) override { tag_->SetGenre(v); }
    std::string GenreIDToName(std::uint8_t id) const override { return tag_->GenreIDToName(id); }
    std::uint8_t GenreNameToID(const std::string& name) const override { return tag_->GenreNameToID(name); }
    bool TagWrite(const std::string& path, bool popup) override
    {
        beforeWrite(path);
        const bool written = tag_->TagWrite(path, popup);
        afterWrite(path);
        return written;
    }
    bool TagRead(const std::string& path) override
    {
        beforeRead(path);
        return tag_->TagRead(path);
    }

private:
    std::unique_ptr<Quenlar::_TMP3Tag> tag_ = Core::NewTagObject();
};

} // namespace testing_support
