// The extension tables as the game finds them through s3eExtGetHash, and the
// hosts' dialog, link and ad stand-ins behind them.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>
#include <string>
#include <vector>

#include "hosts/common/extensions.h"
#include "hosts/common/host.h"
#include "platform/s3e.h"
#include "platform/s3e_ext.h"
#include "tests/support/test_host.h"

namespace {

struct Seen {
    std::vector<host::DialogBox> dialogs;
    std::vector<std::string> links;
    std::vector<std::string> ads;
    std::vector<DialogAnswer> answers;
    std::vector<std::pair<int32_t, s3eGoogleAdMobId>> adCallbacks;
};
Seen* g_seen = nullptr;

int32_t OnAnswer(void* system, void*) {
    g_seen->answers.push_back(*static_cast<DialogAnswer*>(system));
    return 0;
}
template <int Kind>
int32_t OnAdMob(void* system, void*) {
    g_seen->adCallbacks.push_back({Kind, static_cast<s3eGoogleAdMobEvent*>(system)->ad});
    return 0;
}

class HostExtensions : public ::testing::Test {
  protected:
    void Install(host::ExtensionSetup setup) {
        g_seen = &seen_;
        host::HostSetup hs;
        hs.dataDir = bound_.DataDir();
        hs.documentsDir = bound_.DocumentsDir();
        host::ConfigureHost(hs);
        setup.onDialog = [](const host::DialogBox& b) { g_seen->dialogs.push_back(b); };
        setup.onLink = [](const std::string& a) {
            g_seen->links.push_back(a);
            return true;
        };
        setup.onAd = [](const std::string& e) { g_seen->ads.push_back(e); };
        host::InstallExtensions(setup);
    }
    host::ExtensionSetup AllOn() {
        host::ExtensionSetup s;
        s.adMob = s.chartBoost = true;
        return s;
    }

    testsupport::BoundHost bound_;
    Seen seen_;
};

TEST_F(HostExtensions, TablesAreFoundByIdAtTheirSize) {
    Install(AllOn());
    s3eDialogTable dialog;
    s3eGoogleAdMobTable admob;
    s3eChartBoostTable chartboost;
    s3eOSExecTable osexec;
    EXPECT_TRUE(s3eExtLookup(S3E_EXT_DIALOG_ID, &dialog));
    EXPECT_TRUE(s3eExtLookup(S3E_EXT_GOOGLEADMOB_ID, &admob));
    EXPECT_TRUE(s3eExtLookup(S3E_EXT_CHARTBOOST_ID, &chartboost));
    EXPECT_TRUE(s3eExtLookup(S3E_EXT_OSEXEC_ID, &osexec));
    // Every entry the game calls is filled.
    EXPECT_TRUE(dialog.Register && dialog.UnRegister && dialog.AlertShow);
    EXPECT_TRUE(admob.Register && admob.SetAdUnit && admob.PrepareAd && admob.DestroyAd &&
                admob.LoadAd && admob.ShowAd && admob.QueryAd);
    EXPECT_TRUE(chartboost.Register && chartboost.SetAppID && chartboost.SetAppSignature &&
                chartboost.StartSession && chartboost.ShowInterstitial && chartboost.Location);
    EXPECT_TRUE(osexec.ExecuteURL);
    // Asking for more than the table holds, or for an unknown id, fails.
    void* big[8];
    EXPECT_NE(s3eExtGetHash(S3E_EXT_DIALOG_ID, big, sizeof big), S3E_RESULT_SUCCESS);
    EXPECT_NE(s3eExtGetHash(0x12345678u, big, sizeof(void*)), S3E_RESULT_SUCCESS);
}

TEST_F(HostExtensions, LeftOutExtensionsAreNotFoundAndLookupLeavesAnEmptyTable) {
    host::ExtensionSetup setup;  // the desktop's: no ad services
    Install(setup);
    s3eGoogleAdMobTable admob;
    std::memset(&admob, 0xAB, sizeof admob);  // whatever was there before
    EXPECT_FALSE(s3eExtLookup(S3E_EXT_GOOGLEADMOB_ID, &admob));
    EXPECT_EQ(admob.ShowAd, nullptr);
    s3eChartBoostTable chartboost;
    EXPECT_FALSE(s3eExtLookup(S3E_EXT_CHARTBOOST_ID, &chartboost));
    setup.dialog = false;
    Install(setup);
    s3eDialogTable dialog;
    EXPECT_FALSE(s3eExtLookup(S3E_EXT_DIALOG_ID, &dialog));
}

TEST_F(HostExtensions, DialogsAreShownInUtf8AndAnsweredLaterInOrder) {
    Install(host::ExtensionSetup{});
    s3eDialogTable d;
    ASSERT_TRUE(s3eExtLookup(S3E_EXT_DIALOG_ID, &d));
    ASSERT_EQ(d.Register(S3E_DIALOG_CALLBACK_ANSWER, &OnAnswer, nullptr), S3E_RESULT_SUCCESS);
    // "Выйти?" with "Да", "Нет" in Windows-1251.
    DialogRequest quit{"\xC2\xFB\xE9\xF2\xE8?", " ", "\xC4\xE0", "\xCD\xE5\xF2", nullptr, 1};
    DialogRequest themes{"Themes", " ", "Light", nullptr, "Grey", 3};
    ASSERT_EQ(d.AlertShow(&quit), S3E_RESULT_SUCCESS);
    ASSERT_EQ(d.AlertShow(&themes), S3E_RESULT_SUCCESS);
    EXPECT_TRUE(seen_.answers.empty());  // never inside the show call
    ASSERT_EQ(seen_.dialogs.size(), 2u);
    EXPECT_EQ(seen_.dialogs[0].message, "Выйти?");
    EXPECT_EQ(seen_.dialogs[0].buttons, (std::vector<std::string>{"Да", "Нет"}));
    // A missing button ends the list.
    EXPECT_EQ(seen_.dialogs[1].buttons, (std::vector<std::string>{"Light"}));
    EXPECT_EQ(host::OpenDialogCount(), 2);

    EXPECT_TRUE(host::AnswerDialog(0));
    EXPECT_TRUE(host::AnswerDialog(-1));
    EXPECT_FALSE(host::AnswerDialog(0));
    ASSERT_EQ(seen_.answers.size(), 2u);
    EXPECT_EQ(seen_.answers[0].id, 1);
    EXPECT_EQ(seen_.answers[0].button, 0);
    EXPECT_EQ(seen_.answers[1].id, 3);
    EXPECT_EQ(seen_.answers[1].button, -1);

    // Once unregistered, a box still closes but nobody hears of it.
    EXPECT_NE(d.UnRegister(S3E_DIALOG_CALLBACK_ANSWER, &OnAdMob<0>), S3E_RESULT_SUCCESS);
    EXPECT_EQ(d.UnRegister(S3E_DIALOG_CALLBACK_ANSWER, &OnAnswer), S3E_RESULT_SUCCESS);
    d.AlertShow(&quit);
    EXPECT_TRUE(host::AnswerDialog(0));
    EXPECT_EQ(seen_.answers.size(), 2u);
    EXPECT_NE(d.AlertShow(nullptr), S3E_RESULT_SUCCESS);
}

TEST_F(HostExtensions, LinksOpenAndTheExitFlagEndsTheGame) {
    Install(host::ExtensionSetup{});
    s3eOSExecTable os;
    ASSERT_TRUE(s3eExtLookup(S3E_EXT_OSEXEC_ID, &os));
    EXPECT_EQ(os.ExecuteURL("https://example.org/Apps/Details?id=3#tutorial", 0),
              S3E_RESULT_SUCCESS);
    EXPECT_FALSE(host::QuitRequested());
    EXPECT_NE(os.ExecuteURL(nullptr, 0), S3E_RESULT_SUCCESS);
    EXPECT_NE(os.ExecuteURL("", 0), S3E_RESULT_SUCCESS);
    EXPECT_EQ(seen_.links,
              (std::vector<std::string>{"https://example.org/Apps/Details?id=3#tutorial"}));
    os.ExecuteURL("market://details", 1);
    EXPECT_TRUE(host::QuitRequested());
}

TEST_F(HostExtensions, AdMobLoadsShowsAndClosesOnePassLater) {
    Install(AllOn());
    s3eGoogleAdMobTable ad;
    ASSERT_TRUE(s3eExtLookup(S3E_EXT_GOOGLEADMOB_ID, &ad));
    ad.Register(S3E_GOOGLEADMOB_CALLBACK_AD_LOADED, &OnAdMob<0>, nullptr);
    ad.Register(S3E_GOOGLEADMOB_CALLBACK_AD_CLOSED, &OnAdMob<1>, nullptr);
    ad.Register(S3E_GOOGLEADMOB_CALLBACK_AD_FAILED, &OnAdMob<2>, nullptr);
    ASSERT_EQ(ad.SetAdUnit("ca-app-pub-0000000000000000/0000000000", 1), S3E_RESULT_SUCCESS);

    s3eGoogleAdMobId id = 0;
    ASSERT_EQ(ad.PrepareAd(&id), S3E_RESULT_SUCCESS);
    uint8_t loaded = 7;
    EXPECT_EQ(ad.QueryAd(id, &loaded), S3E_RESULT_SUCCESS);
    EXPECT_EQ(loaded, 0);
    ASSERT_EQ(ad.LoadAd(id), S3E_RESULT_SUCCESS);
    EXPECT_NE(ad.LoadAd(id), S3E_RESULT_SUCCESS);  // already loading
    EXPECT_TRUE(seen_.adCallbacks.empty());
    EXPECT_NE(ad.ShowAd(id), S3E_RESULT_SUCCESS);  // not loaded yet: nothing to show
    EXPECT_TRUE(host::RunDeferredCallbacks());
    ASSERT_EQ(seen_.adCallbacks.size(), 1u);
    EXPECT_EQ(seen_.adCallbacks[0], std::make_pair(0, id));
    ad.QueryAd(id, &loaded);
    EXPECT_EQ(loaded, 1);

    ASSERT_EQ(ad.ShowAd(id), S3E_RESULT_SUCCESS);
    EXPECT_EQ(seen_.adCallbacks.size(), 1u);
    host::RunDeferredCallbacks();
    ASSERT_EQ(seen_.adCallbacks.size(), 2u);
    EXPECT_EQ(seen_.adCallbacks[1], std::make_pair(1, id));
    EXPECT_FALSE(host::RunDeferredCallbacks());
    EXPECT_EQ(seen_.ads,
              (std::vector<std::string>{
                  "admob register 0", "admob register 1", "admob register 2",
                  "admob unit ca-app-pub-0000000000000000/0000000000 1", "admob prepare 1",
                  "admob query 1 0", "admob load 1", "admob load 1 refused", "admob show 1 refused",
                  "admob loaded 1", "admob query 1 1", "admob show 1", "admob closed 1"}));

    EXPECT_EQ(ad.DestroyAd(id), S3E_RESULT_SUCCESS);
    EXPECT_NE(ad.DestroyAd(id), S3E_RESULT_SUCCESS);
    EXPECT_NE(ad.ShowAd(id), S3E_RESULT_SUCCESS);
}

TEST_F(HostExtensions, AdsWithoutFillFailAndDestroyedAdsHearNothing) {
    host::ExtensionSetup setup = AllOn();
    setup.adFill = host::AdFill::Never;
    Install(setup);
    s3eGoogleAdMobTable ad;
    ASSERT_TRUE(s3eExtLookup(S3E_EXT_GOOGLEADMOB_ID, &ad));
    ad.Register(S3E_GOOGLEADMOB_CALLBACK_AD_FAILED, &OnAdMob<2>, nullptr);
    s3eGoogleAdMobId a = 0, b = 0;
    ad.PrepareAd(&a);
    ad.PrepareAd(&b);
    EXPECT_NE(a, b);
    ad.LoadAd(a);
    ad.LoadAd(b);
    ad.DestroyAd(b);
    host::RunDeferredCallbacks();
    ASSERT_EQ(seen_.adCallbacks.size(), 1u);
    EXPECT_EQ(seen_.adCallbacks[0], std::make_pair(2, a));
    EXPECT_EQ(seen_.ads, (std::vector<std::string>{
                             "admob register 2", "admob prepare 1", "admob prepare 2",
                             "admob load 1", "admob load 2", "admob destroy 2", "admob failed 1"}));

    s3eChartBoostTable cb;
    ASSERT_TRUE(s3eExtLookup(S3E_EXT_CHARTBOOST_ID, &cb));
    cb.SetAppID("0123456789abcdef01234567");
    cb.SetAppSignature("0123456789abcdef0123456789abcdef01234567");
    cb.StartSession();
    EXPECT_NE(cb.ShowInterstitial(cb.Location(2)), S3E_RESULT_SUCCESS);
    EXPECT_EQ(seen_.ads.back(), "chartboost show Default refused");
}

TEST_F(HostExtensions, ChartBoostShowsOnlyOnceItsSessionStarted) {
    Install(AllOn());
    s3eChartBoostTable cb;
    ASSERT_TRUE(s3eExtLookup(S3E_EXT_CHARTBOOST_ID, &cb));
    const char* location = cb.Location(2);
    ASSERT_NE(location, nullptr);
    EXPECT_NE(cb.ShowInterstitial(location), S3E_RESULT_SUCCESS);
    EXPECT_NE(cb.StartSession(), S3E_RESULT_SUCCESS);  // no app id yet
    cb.SetAppID("0123456789abcdef01234567");
    cb.SetAppSignature("0123456789abcdef0123456789abcdef01234567");
    EXPECT_EQ(cb.StartSession(), S3E_RESULT_SUCCESS);
    EXPECT_EQ(cb.ShowInterstitial(location), S3E_RESULT_SUCCESS);
    EXPECT_EQ(seen_.ads,
              (std::vector<std::string>{
                  "chartboost location 2", "chartboost show Default refused",
                  "chartboost start refused", "chartboost appid 0123456789abcdef01234567",
                  "chartboost signature 0123456789abcdef0123456789abcdef01234567",
                  "chartboost start", "chartboost show Default"}));
}

TEST(HostText, Cp1251MatchesTheSystemConverter) {
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    for (int c = 0x80; c <= 0xFF; ++c) {
        if (c == 0x98) continue;  // unassigned
        char in[2] = {static_cast<char>(c), 0};
        char out[8] = {};
        char* ip = in;
        char* op = out;
        size_t il = 1, ol = sizeof out;
        ASSERT_NE(iconv(cd, &ip, &il, &op, &ol), static_cast<size_t>(-1)) << c;
        EXPECT_EQ(host::Cp1251ToUtf8(in), std::string(out, op)) << "byte " << c;
    }
    iconv_close(cd);
    EXPECT_EQ(host::Cp1251ToUtf8("\x98"), "\xEF\xBF\xBD");
    EXPECT_EQ(host::Cp1251ToUtf8("Quit?"), "Quit?");
    EXPECT_EQ(host::Cp1251ToUtf8(nullptr), "");
}

TEST(HostText, LogQuotingKeepsOneEntryOnOneLine) {
    EXPECT_EQ(host::QuoteForLog(" "), "\" \"");
    EXPECT_EQ(host::QuoteForLog("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(host::QuoteForLog("two\nlines\x01"), "\"two\\nlines\\x01\"");
    EXPECT_EQ(host::QuoteForLog("Выйти?"), "\"Выйти?\"");
}

}  // namespace
