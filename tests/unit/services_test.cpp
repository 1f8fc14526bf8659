// Dialogs, links, interstitials and the promotion choice, bound to the shared
// host services and their extension stand-ins, with a virtual clock.
#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "hosts/common/extensions.h"
#include "hosts/common/host.h"
#include "platform/s3e.h"
#include "platform/s3e_ext.h"
#include "services/ads.h"
#include "services/config.h"
#include "services/device.h"
#include "services/dialogs.h"
#include "services/links.h"
#include "services/promo.h"
#include "tests/support/test_host.h"

namespace {

constexpr int32_t kEnglish = 2;
constexpr int32_t kRussian = 16;

struct Seen {
    std::vector<std::string> warnings;
    std::vector<std::string> links;
    std::vector<std::string> ads;
    std::vector<std::pair<int32_t, int32_t>> answers;
    std::vector<std::vector<std::string>> requests;  // raw bytes: message, title, buttons..., id
};
Seen* g_seen = nullptr;
uint64_t g_clock = 0;

uint64_t VirtualClock() {
    return g_clock;
}
void RecordLog(const char*, const char* text) {
    g_seen->warnings.push_back(text);
}
void RecordAnswer(int32_t id, int32_t button) {
    g_seen->answers.push_back({id, button});
}
// A dialog extension that keeps the request's bytes as the module gave them.
s3eResult CaptureAlert(const DialogRequest* r) {
    std::vector<std::string> fields{r->message, r->title};
    for (const char* b : {r->button0, r->button1, r->button2}) {
        fields.push_back(b ? b : "(none)");
    }
    fields.push_back(std::to_string(r->id));
    g_seen->requests.push_back(fields);
    return S3E_RESULT_SUCCESS;
}
s3eResult AcceptRegister(int32_t, s3eCallback, void*) {
    return S3E_RESULT_SUCCESS;
}

std::string ToCp1251(const std::string& utf8) {
    iconv_t cd = iconv_open("CP1251", "UTF-8");
    std::string in = utf8, out(utf8.size(), '\0');
    char* ip = in.data();
    char* op = out.data();
    size_t il = in.size(), ol = out.size();
    size_t rc = iconv(cd, &ip, &il, &op, &ol);
    iconv_close(cd);
    EXPECT_NE(rc, static_cast<size_t>(-1)) << utf8;
    out.resize(out.size() - ol);
    return out;
}

class Services : public ::testing::Test {
  protected:
    void SetUp() override {
        g_seen = &seen_;
        g_clock = 0;
    }
    void TearDown() override {
        StopDialogs();
        StopAds();
        StopLinks();
        device = DeviceFacts{};
    }

    void Configure(int32_t os, int32_t language, host::ExtensionSetup ext = {}) {
        host::HostSetup hs;
        hs.dataDir = bound_.DataDir();
        hs.documentsDir = bound_.DocumentsDir();
        hs.os = os;
        hs.language = language;
        hs.hooks.timerMs = &VirtualClock;
        hs.hooks.log = &RecordLog;
        host::ConfigureHost(hs);
        ReadDeviceFacts();  // as start-up does
        ext.onLink = [](const std::string& a) {
            g_seen->links.push_back(a);
            return true;
        };
        ext.onAd = [](const std::string& line) { g_seen->ads.push_back(line); };
        host::InstallExtensions(ext);
        StopLinks();
    }
    host::ExtensionSetup AdsOn(host::AdFill fill, bool chartBoost = false) {
        host::ExtensionSetup ext;
        ext.adMob = true;
        ext.chartBoost = chartBoost;
        ext.adFill = fill;
        return ext;
    }
    // The ad lines since the last call that start with prefix.
    std::vector<std::string> TakeAds(const std::string& prefix) {
        std::vector<std::string> out;
        for (const auto& l : seen_.ads) {
            if (l.rfind(prefix, 0) == 0) out.push_back(l);
        }
        seen_.ads.clear();
        return out;
    }

    testsupport::BoundHost bound_;
    Seen seen_;
};

// ---------------------------------------------------------------------------
// Dialogs

TEST_F(Services, DialogTextsAreTheLanguagesBytesPassedUnchanged) {
    struct Box {
        const char* message;
        const char* title;
        std::vector<std::string> buttons;
    };
    // As the player reads them; the module hands the extension Windows-1251.
    const Box russian[] = {
        {"Выйти?", " ", {"Да", "Нет", "(none)"}},
        {"Стереть все?", " ", {"Да", "Нет", "(none)"}},
        {"Выбор темы", " ", {"Светлая", "Темная", "Серая"}},
        {"Доступна версия приложения без рекламы. Желаете ознакомиться?",
         "Премиум-версия",
         {"Да", "Нет", "(none)"}},
    };
    const Box english[] = {
        {"Quit?", " ", {"Yes", "No", "(none)"}},
        {"Clear all?", " ", {"Yes", "No", "(none)"}},
        {"Themes", " ", {"Light", "Dark", "Grey"}},
        {"Premium version of app without ads is avaliable.",
         "Premium version",
         {"More info...", "Cancel", "(none)"}},
    };
    for (int32_t language : {kRussian, kEnglish, 21}) {
        SCOPED_TRACE(language);
        Configure(S3E_OS_ID_ANDROID, language);
        s3eDialogTable capture{};
        capture.Register = &AcceptRegister;
        capture.AlertShow = &CaptureAlert;
        host::RegisterExtension(S3E_EXT_DIALOG_ID, &capture, sizeof capture);
        seen_.requests.clear();
        StartDialogs(&RecordAnswer);
        for (int32_t id = 0; id <= 5; ++id)
            ShowDialog(id);
        ASSERT_EQ(seen_.requests.size(), 4u);  // no box for ids outside 1..4
        for (int32_t id = 1; id <= 4; ++id) {
            const Box& box = (language == kRussian ? russian : english)[id - 1];
            std::vector<std::string> want{ToCp1251(box.message), ToCp1251(box.title)};
            for (const auto& b : box.buttons)
                want.push_back(ToCp1251(b));
            want.push_back(std::to_string(id));
            EXPECT_EQ(seen_.requests[id - 1], want) << "dialog " << id;
        }
        StopDialogs();
    }
    EXPECT_TRUE(seen_.warnings.empty());
}

TEST_F(Services, AnswersReachTheHandlerUntilItIsUnregistered) {
    Configure(S3E_OS_ID_DESKTOP, kEnglish);
    ShowDialog(kDialogQuit);  // before the loop's registration: nothing to show with
    EXPECT_EQ(host::OpenDialogCount(), 0);
    StartDialogs(&RecordAnswer);
    ShowDialog(kDialogTheme);
    ASSERT_EQ(host::OpenDialogCount(), 1);
    EXPECT_EQ(host::OpenDialog()->buttons, (std::vector<std::string>{"Light", "Dark", "Grey"}));
    EXPECT_TRUE(seen_.answers.empty());  // never inside ShowDialog
    ASSERT_TRUE(host::AnswerDialog(1));
    EXPECT_EQ(seen_.answers, (std::vector<std::pair<int32_t, int32_t>>{{3, 1}}));
    ShowDialog(kDialogQuit);
    StopDialogs();
    ASSERT_TRUE(host::AnswerDialog(0));  // the box closes, nobody hears of it
    EXPECT_EQ(seen_.answers.size(), 1u);
}

TEST_F(Services, MissingExtensionsSayItOnceAndTheRestGoesOn) {
    host::ExtensionSetup ext = AdsOn(host::AdFill::Always);
    ext.dialog = false;
    ext.osExec = false;
    Configure(S3E_OS_ID_ANDROID, kEnglish, ext);
    StartDialogs(&RecordAnswer);
    ShowDialog(kDialogQuit);
    ShowDialog(kDialogPaidEdition);
    for (int32_t kind : {kLinkRate, kLinkHelp, kLinkPaidEdition})
        OpenLink(kind);
    EXPECT_EQ(seen_.warnings, (std::vector<std::string>{"error loading extension: s3eDialog",
                                                        "error loading extension: s3eOSExec"}));
    EXPECT_TRUE(seen_.links.empty());
    // The ads do not depend on either.
    StartAds();
    PrepareInterstitial();
    host::RunDeferredCallbacks();
    EXPECT_TRUE(ShowInterstitial());
    EXPECT_EQ(TakeAds("admob show"), (std::vector<std::string>{"admob show 1"}));
}

// ---------------------------------------------------------------------------
// Links

TEST_F(Services, LinksFollowTheSystemAndTheLanguage) {
    struct Case {
        int32_t os, language;
        std::string rate, paid;
    };
    const config::StorePages& game = config::kGamePages;
    const config::StorePages& paid = config::kPaidEditionPages;
    const Case cases[] = {
        {S3E_OS_ID_IPHONE, kRussian, game.iosRussian, paid.iosRussian},
        {S3E_OS_ID_IPHONE, 21, game.iosOther, paid.iosOther},  // group language, not Russian
        {S3E_OS_ID_ANDROID, kRussian, game.android, paid.android},
        {S3E_OS_ID_DESKTOP, kRussian, game.android, paid.android},
        {S3E_OS_ID_DESKTOP, kEnglish, game.android, paid.android},
    };
    const std::string site = config::kHelpSite;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.os) + "/" + std::to_string(c.language));
        Configure(c.os, c.language);
        seen_.links.clear();
        for (int32_t kind : {0, 1, 2, 3, 4, 5})
            OpenLink(kind);
        const std::string help =
            site + "/Apps/Details?id=" + (c.language == kRussian ? "4" : "3") + "#tutorial";
        EXPECT_EQ(seen_.links, (std::vector<std::string>{c.rate, help, c.paid}));
    }
}

// The configured addresses keep the storefront rules and the identifiers
// their formats, whatever values a build puts in.
TEST_F(Services, ConfiguredAddressesKeepTheirRules) {
    // The iOS storefront segment of a page: "ru", "en", "us", or "" for none.
    auto storefront = [](const char* page) -> std::string {
        std::string p = page;
        size_t app = p.find("/app/");
        size_t slash = p.rfind('/', app == std::string::npos ? 0 : app - 1);
        if (app == std::string::npos || slash == std::string::npos) return "?";
        std::string seg = p.substr(slash + 1, app - slash - 1);
        return seg.size() == 2 ? seg : "";
    };
    for (const config::StorePages* p : {&config::kGamePages, &config::kPaidEditionPages}) {
        EXPECT_EQ(storefront(p->iosRussian), "ru");
        EXPECT_EQ(storefront(p->iosOther), "");
        ASSERT_NE(p->android, nullptr);
    }
    const char* rows[] = {"en", "en", "en", "ru", "ru", "ru", "us"};
    for (int row = 1; row <= 7; ++row) {
        const config::StorePages& p = config::kPromoPages[row - 1];
        EXPECT_EQ(storefront(p.iosRussian), row == 7 ? "us" : "ru") << row;
        EXPECT_EQ(storefront(p.iosOther), rows[row - 1]) << row;
        EXPECT_NE(p.android, nullptr);
    }
    EXPECT_EQ(config::kPromoPages[7].iosRussian, nullptr);
    EXPECT_EQ(config::kPromoPages[7].iosOther, nullptr);
    EXPECT_STREQ(config::kPromoPages[1].android, config::kGamePages.android);  // row 2 is this game

    auto all = [](const std::string& s, const char* set) {
        return s.find_first_not_of(set) == std::string::npos;
    };
    EXPECT_EQ(config::AdIdentifiersFor(S3E_OS_ID_DESKTOP), nullptr);
    for (int32_t os : {S3E_OS_ID_IPHONE, S3E_OS_ID_ANDROID}) {
        const config::AdIdentifiers* ids = config::AdIdentifiersFor(os);
        ASSERT_NE(ids, nullptr);
        std::string unit = ids->adMobUnit;
        ASSERT_EQ(unit.size(), 38u);
        EXPECT_EQ(unit.substr(0, 11), "ca-app-pub-");
        EXPECT_TRUE(all(unit.substr(11, 16), "0123456789"));
        EXPECT_EQ(unit[27], '/');
        EXPECT_TRUE(all(unit.substr(28), "0123456789"));
        EXPECT_EQ(std::string(ids->chartBoostAppId).size(), 24u);
        EXPECT_TRUE(all(ids->chartBoostAppId, "0123456789abcdef"));
        EXPECT_EQ(std::string(ids->chartBoostSignature).size(), 40u);
        EXPECT_TRUE(all(ids->chartBoostSignature, "0123456789abcdef"));
    }
    EXPECT_NE(config::AdIdentifiersFor(S3E_OS_ID_IPHONE)->adMobUnit,
              config::AdIdentifiersFor(S3E_OS_ID_ANDROID)->adMobUnit);
}

// ---------------------------------------------------------------------------
// Interstitials

TEST_F(Services, AtMostOneInterstitialAMinuteAndAWishTooSoonIsDropped) {
    Configure(S3E_OS_ID_ANDROID, kEnglish, AdsOn(host::AdFill::Scripted));
    StartAds();
    EXPECT_EQ(TakeAds("admob unit"),
              (std::vector<std::string>{"admob unit ca-app-pub-3940256099942544/1033173712 1"}));

    // At 0 s: the first puzzle's wish waits until an ad is loaded.
    RequestInterstitialPrepare();
    RequestInterstitial();
    RunAdRequests();
    EXPECT_EQ(TakeAds("admob load"), (std::vector<std::string>{"admob load 1"}));
    RunAdRequests();  // still loading: nothing to show yet, the wish stays
    EXPECT_TRUE(TakeAds("admob show").empty());
    ASSERT_TRUE(host::FinishAd(host::AdOutcome::Load));
    RunAdRequests();
    EXPECT_EQ(TakeAds("admob show"), (std::vector<std::string>{"admob show 1"}));
    RunAdRequests();  // the wish was handled
    EXPECT_TRUE(TakeAds("admob show").empty());
    ASSERT_TRUE(host::FinishAd(host::AdOutcome::Close));
    EXPECT_EQ(TakeAds("admob destroy"), (std::vector<std::string>{"admob destroy 1"}));

    // Back on the list a new ad is prepared and loads.
    RequestInterstitialPrepare();
    RunAdRequests();
    ASSERT_TRUE(host::FinishAd(host::AdOutcome::Load));
    // At 30 s a puzzle opens: too soon, the wish is dropped, not kept.
    g_clock = 30000;
    RequestInterstitial();
    RunAdRequests();
    g_clock = 65000;
    RunAdRequests();
    EXPECT_TRUE(TakeAds("admob show").empty());
    // At 70 s the next puzzle shows the ad that was ready all along.
    g_clock = 70000;
    EXPECT_TRUE(ShowInterstitial());
    EXPECT_EQ(TakeAds("admob show"), (std::vector<std::string>{"admob show 2"}));
    g_clock = 129999;
    EXPECT_TRUE(ShowInterstitial());
    EXPECT_TRUE(TakeAds("admob show").empty());
}

TEST_F(Services, AFailedRequestIsRetriedOnlyAfter500Ms) {
    Configure(S3E_OS_ID_IPHONE, kEnglish, AdsOn(host::AdFill::Scripted, true));
    StartAds();
    g_clock = 10000;
    PrepareInterstitial();
    ASSERT_TRUE(host::FinishAd(host::AdOutcome::Fail));
    EXPECT_EQ(TakeAds("admob prepare"), (std::vector<std::string>{"admob prepare 1"}));
    g_clock = 10001;
    PrepareInterstitial();  // the first retry: 500 ms since the start of the run
    ASSERT_TRUE(host::FinishAd(host::AdOutcome::Fail));
    g_clock = 10400;
    PrepareInterstitial();
    g_clock = 10501;  // exactly 500 ms: not yet
    PrepareInterstitial();
    EXPECT_EQ(TakeAds("admob prepare"), (std::vector<std::string>{"admob prepare 2"}));
    g_clock = 10502;
    PrepareInterstitial();
    EXPECT_EQ(TakeAds("admob prepare"), (std::vector<std::string>{"admob prepare 3"}));
    PrepareInterstitial();  // busy loading: no second request
    EXPECT_TRUE(TakeAds("admob prepare").empty());

    // With no AdMob ad in hand ChartBoost shows instead, and that counts too.
    EXPECT_TRUE(ShowInterstitial());
    EXPECT_EQ(TakeAds("chartboost show"), (std::vector<std::string>{"chartboost show Default"}));
    ASSERT_TRUE(host::FinishAd(host::AdOutcome::Load));
    g_clock = 20000;
    EXPECT_TRUE(ShowInterstitial());
    EXPECT_TRUE(TakeAds("admob show").empty());
}

TEST_F(Services, NoAdServiceStartsOnTheDesktopSimulator) {
    Configure(S3E_OS_ID_DESKTOP, kEnglish, AdsOn(host::AdFill::Always, true));
    StartAds();
    RequestInterstitialPrepare();
    RequestInterstitial();
    RunAdRequests();
    host::RunDeferredCallbacks();
    EXPECT_FALSE(ShowInterstitial());  // the frame keeps asking, harmlessly
    EXPECT_TRUE(seen_.ads.empty());
}

// ---------------------------------------------------------------------------
// Promotion choice

std::vector<uint32_t> Rows(const PromoPick* picks, int32_t n) {
    std::vector<uint32_t> rows;
    for (int32_t i = 0; i < n; ++i)
        rows.push_back(picks[i].row);
    return rows;
}

TEST(PromoChoice, AFixedSeedGivesAFixedChoice) {
    // Worked by hand: seed 0 draws 12, 30469, 16649, 6471, 27301, 1991, ...
    PromoPick p[kPromoSlotMax];
    ASSERT_EQ(ChoosePromoRows(0, S3E_OS_ID_ANDROID, kEnglish, p), 3);
    EXPECT_EQ(Rows(p, 3), (std::vector<uint32_t>{7, 3, 8}));
    EXPECT_EQ(p[1].variant, 1);
    ASSERT_EQ(ChoosePromoRows(0, S3E_OS_ID_IPHONE, kEnglish, p), 3);
    EXPECT_EQ(Rows(p, 3), (std::vector<uint32_t>{7, 1, 3}));  // 8 skipped, drawn again
    EXPECT_STREQ(p[1].file, "ad_alder_2.png");
    ASSERT_EQ(ChoosePromoRows(0, S3E_OS_ID_DESKTOP, kRussian, p), 4);
    EXPECT_EQ(Rows(p, 4), (std::vector<uint32_t>{3, 2, 5, 4}));
    EXPECT_STREQ(p[0].file, "ad_cedar_2.png");
    EXPECT_STREQ(p[2].file, "ad_maple2_ru_1.png");
    // The headless host's default calendar start, 1700000000000 ms.
    ASSERT_EQ(ChoosePromoRows(170000000, S3E_OS_ID_IPHONE, kEnglish, p), 3);
    EXPECT_EQ(Rows(p, 3), (std::vector<uint32_t>{3, 7, 1}));
    EXPECT_EQ(p[0].variant, 2);
    EXPECT_EQ(p[2].variant, 2);
}

TEST(PromoChoice, RowsFollowSystemAndLanguageOverManySeeds) {
    struct Case {
        int32_t os, language;
        std::set<uint32_t> allowed;
        int32_t slots;
    };
    const Case cases[] = {
        {S3E_OS_ID_IPHONE, kEnglish, {1, 3, 7}, 3},
        {S3E_OS_ID_ANDROID, kEnglish, {1, 3, 7, 8}, 3},
        {S3E_OS_ID_IPHONE, 75, {1, 3, 4, 5, 6}, 3},
        {S3E_OS_ID_ANDROID, kRussian, {1, 3, 4, 5, 6, 8}, 3},
        {S3E_OS_ID_DESKTOP, kEnglish, {1, 2, 3, 7, 8}, 4},
        {S3E_OS_ID_DESKTOP, 34, {1, 2, 3, 4, 5, 6, 8}, 4},
    };
    const std::string promoreel = testsupport::GameDataDir() + "/promoreel/";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.os) + "/" + std::to_string(c.language));
        std::set<uint32_t> seenRows;
        std::set<std::string> files;
        for (uint32_t seed = 0; seed < 3000; seed += 7) {
            PromoPick p[kPromoSlotMax];
            ASSERT_EQ(ChoosePromoRows(seed * 2654435761u, c.os, c.language, p), c.slots);
            std::set<uint32_t> distinct;
            for (int32_t k = 0; k < c.slots; ++k) {
                ASSERT_TRUE(c.allowed.count(p[k].row)) << p[k].row;
                distinct.insert(p[k].row);
                seenRows.insert(p[k].row);
                files.insert(p[k].file);
            }
            EXPECT_EQ(distinct.size(), static_cast<size_t>(c.slots));
        }
        EXPECT_EQ(seenRows, c.allowed);  // every candidate gets its turn
        for (const std::string& f : files) {
            EXPECT_TRUE(testsupport::FileExists(promoreel + f)) << f;
        }
        // Each of rows 1 and 3 shows all three of its variants.
        for (const char* stem : {"ad_alder_", "ad_cedar_"}) {
            for (int v = 1; v <= 3; ++v) {
                EXPECT_TRUE(files.count(stem + std::to_string(v) + ".png")) << stem << v;
            }
        }
    }
}

}  // namespace
