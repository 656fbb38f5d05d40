// The mobile web site (8904) and the public web site (8905).
#include <string>

#include "cards.h"
#include "context.h"
#include "html.h"

namespace qv::service {
namespace {

std::string PackagesTable() {
  std::string rows;
  for (const MonthlyProduct& p : kMonthlyProducts) {
    rows += "<tr><td>" + std::string(p.price) + "元包月</td><td>" + std::to_string(p.minutes) +
            "分钟</td></tr>";
  }
  return "<table><tr><th>套餐</th><th>每月通话时长</th></tr>" + rows + "</table>";
}

std::string CardsTable() {
  std::string rows;
  for (const CardKind& k : kCardKinds) {
    rows += "<tr><td>" + std::string(k.name) + "</td><td>" + std::to_string(k.numberLength) +
            "位</td><td>" + std::to_string(k.passwordLength) + "位</td><td>" +
            (k.forPackages ? "帐户充值、包月套餐" : "仅限帐户充值") + "</td></tr>";
  }
  return "<table><tr><th>充值卡</th><th>卡号</th><th>密码</th><th>可用于</th></tr>" + rows + "</table>";
}

const char* kMobileNav =
    "<nav><a href=\"/\">首页</a><a href=\"/index.php?a=wap_acct\">在线充值</a>"
    "<a href=\"/post/single1/info/11.html\">关于我们</a></nav>";

Reply MobileHome(Context&, const Query&) {
  std::string body = std::string(kMobileNav) +
                     "<h1>资费说明</h1><div class=\"card\">"
                     "<p>拨打全国固话、手机：0.10元/分钟起，按分钟计费，不足一分钟按一分钟计算。</p>"
                     "<p>Velto用户之间通话免费。</p>" +
                     PackagesTable() +
                     "</div><h1>充值说明</h1><div class=\"card\">" + CardsTable() +
                     "<p>充值卡充值提交后，请在2分钟以后查询余额。Velto卡充值没有赠送金额。</p></div>"
                     "<h1>推荐好友</h1><div class=\"card\"><p>邀请好友注册Velto网络电话，"
                     "好友注册即可获得5元体验金。</p></div>";
  return HtmlReply(Page("Velto网络电话", body));
}

Reply MobileAbout(Context&, const Query&) {
  std::string body = std::string(kMobileNav) +
                     "<h1>关于我们</h1><div class=\"card\"><p>Velto网络电话为预付费用户提供"
                     "电脑拨打全国固话和手机的服务，支持多路同时通话、通讯录同步和回拨。</p></div>"
                     "<h1>帮助中心</h1><div class=\"card\">"
                     "<h2>如何登录？</h2><p>使用注册的手机号码和密码登录，可勾选“记住密码”。</p>"
                     "<h2>体验用户如何打电话？</h2><p>体验用户使用回拨功能：提交被叫号码后，"
                     "系统会先呼叫您，接听后即可通话。充值后自动成为正式用户。</p>"
                     "<h2>拨打固定电话要加区号吗？</h2><p>需要。本地和外地的固定电话都须加拨区号。</p>"
                     "<h2>忘记密码怎么办？</h2><p>请在登录窗口点击“忘记密码”，或联系客服。</p></div>";
  return HtmlReply(Page("关于我们", body));
}

Reply MobileIndex(Context&, const Query& q) {
  if (q.Get("a") != "wap_acct") return HtmlReply(NotFoundPage(), 404);
  std::string body = std::string(kMobileNav) +
                     "<h1>在线充值</h1><div class=\"card\"><p>支付宝、财付通、银联在线支付"
                     "请在电脑上访问Velto官方网站的“在线充值”页面。</p>"
                     "<p>使用充值卡充值：在软件的“设置菜单 → 充值”中选择卡类型，输入卡号和密码。</p>" +
                     CardsTable() + "</div>";
  return HtmlReply(Page("在线充值", body));
}

const char* kSiteNav = "<nav><a href=\"/\">首页</a><a href=\"/index/acct\">在线充值</a></nav>";

Reply SiteHome(Context&, const Query&) {
  std::string body = std::string(kSiteNav) +
                     "<h1>Velto网络电话</h1><div class=\"card\"><p>用电脑打电话，"
                     "拨打全国固话和手机，资费低廉，音质清晰。</p>"
                     "<p>最新版本：Velto网络电话 1.2</p></div>"
                     "<div class=\"card\"><h2>包月套餐</h2>" +
                     PackagesTable() + "</div>";
  return HtmlReply(Page("Velto网络电话 - 官方网站", body));
}

Reply SiteAccount(Context&, const Query&) {
  std::string body = std::string(kSiteNav) +
                     "<h1>在线充值</h1><div class=\"card\">"
                     "<p>本服务尚未接入支付宝、财付通和银联在线支付。</p>"
                     "<p>请使用充值卡充值：在软件中打开“设置菜单 → 充值”，选择充值卡类型，"
                     "输入卡号和密码后提交。</p>" +
                     CardsTable() + "</div>";
  return HtmlReply(Page("在线充值 - Velto网络电话", body));
}

Reply PageRefusal() { return HtmlReply(Page("参数错误", "<h1>参数错误</h1>"), 400); }

}  // namespace

std::vector<Route> MobileSiteRoutes() {
  return {
      {"/", MobileHome, PageRefusal()},
      {"/post/single1/info/11.html", MobileAbout, PageRefusal()},
      {"/post/single1/info/11.html/", MobileAbout, PageRefusal()},
      {"/index.php", MobileIndex, PageRefusal()},
  };
}

std::vector<Route> PublicSiteRoutes() {
  return {
      {"/", SiteHome, PageRefusal()},
      {"/index/acct", SiteAccount, PageRefusal()},
  };
}

}  // namespace qv::service
