// SPDX-License-Identifier: GPL-3.0-or-later
// The component entry points, in a program of their own: the live-object
// count must not see objects of other tests.
#include "TMP3Tag.h"

#include <gtest/gtest.h>

using namespace Quenlar;

TEST(Component, ClassObjectIsTheFactoryOfTagObjects)
{
    EXPECT_EQ(DllRegisterServer(), S_OK);
    EXPECT_EQ(DllUnregisterServer(), S_OK);

    void* factory = nullptr;
    ASSERT_EQ(DllGetClassObject(CLSID_TMP3Tag, IID_IClassFactory, &factory), S_OK);
    ASSERT_NE(factory, nullptr);
    void* again = nullptr;
    EXPECT_EQ(DllGetClassObject("{6f2c1b0a-4d3e-4a57-9c21-3b8e5d7a9f10}", IID_IClassFactory, &again), S_OK);
    EXPECT_EQ(again, factory);

    auto tag = static_cast<IClassFactory*>(factory)->CreateInstance();
    ASSERT_NE(tag, nullptr);
    tag->SetTitle("x");
    EXPECT_EQ(tag->Title(), "x" + std::string(29, '\0'));
    EXPECT_EQ(tag->Genre(), 0);
}

TEST(Component, WrongRequestsAreRefused)
{
    void* out = &out;
    EXPECT_EQ(DllGetClassObject(IID_IClassFactory, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
    out = &out;
    EXPECT_EQ(DllGetClassObject(CLSID_TMP3Tag, CLSID_TMP3Tag, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(DllGetClassObject(nullptr, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(DllGetClassObject(CLSID_TMP3Tag, nullptr, &out), E_NOINTERFACE);
    EXPECT_EQ(DllGetClassObject(CLSID_TMP3Tag, IID_IClassFactory, nullptr), E_POINTER);
}

TEST(Component, CanUnloadOnlyWhenNoObjectLives)
{
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
    auto a = CreateTMP3Tag();
    void* factory = nullptr;
    DllGetClassObject(CLSID_TMP3Tag, IID_IClassFactory, &factory);
    auto b = static_cast<IClassFactory*>(factory)->CreateInstance();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    a.reset();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    b.reset();
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

// An interface implemented elsewhere gets no hook and takes no harm.
TEST(Component, HooksAreOnlyForTheLibrarysOwnObjects)
{
    struct Foreign : _TMP3Tag {
        bool ValidTag() const override { return false; }
        std::string Title() const override { return {}; }
        void SetTitle(const std::string&) override {}
        std::string Artist() const override { return {}; }
        void SetArtist(const std::string&) override {}
        std::string Album() const override { return {}; }
        void SetAlbum(const std::string&) override {}
        std::string Comment() const override { return {}; }
        void SetComment(const std::string&) override {}
        std::string Year() const override { return {}; }
        void SetYear(const std::string&) override {}
        std::uint8_t Genre() const override { return 0; }
        void SetGenre(std::uint8_t) override {}
        std::string GenreIDToName(std::uint8_t) const override { return {}; }
        std::uint8_t GenreNameToID(const std::string&) const override { return 0; }
        bool TagWrite(const std::string&, bool) override { return false; }
        bool TagRead(const std::string&) override { return false; }
    } foreign;
    SetConfirmHook(foreign, [](const std::string&, const std::string&) { return true; });
    EXPECT_FALSE(SetWriteHook(foreign, [](const std::string&, const RecordChange&) {}));
    FileSeen seen;
    EXPECT_FALSE(LastRead(foreign, seen));
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
}
