#include "drawservice/draw_service.h"

namespace quorsa::drawservice {

// The page of the client's web panel. Links open in the system browser, so
// they are full http(s) addresses.
std::string DrawService::advertPage(const std::string& base) const {
    std::string page = R"html(<!DOCTYPE html>
<html lang="zh-CN">
<head>
<meta charset="utf-8">
<title>江苏快三 开奖服务</title>
<style>
body { font-family: sans-serif; margin: 8px; color: #333; background: #fffaf0; }
h1 { font-size: 15px; color: #b22222; margin: 0 0 6px 0; }
p { font-size: 12px; margin: 4px 0; }
a { color: #1e64c8; }
</style>
</head>
<body>
<h1>江苏快三 · 每天 82 期</h1>
<p>开奖时间：北京时间 08:40 至 22:10，每 10 分钟一期。</p>
<p><a href="@BASE@/newphase.txt">查看最新期号</a></p>
<p><a href="https://zh.wikipedia.org/wiki/%E5%BD%A9%E7%A5%A8">彩票知识</a> · 理性购彩，量力而行。</p>
</body>
</html>
)html";
    const std::string marker = "@BASE@";
    page.replace(page.find(marker), marker.size(), base);
    return page;
}

}  // namespace quorsa::drawservice
