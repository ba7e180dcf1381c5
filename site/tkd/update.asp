<html><head><meta charset="utf-8"><title>下载 TiKoDan</title></head>
<body>
<h1>下载 TiKoDan</h1>
<p>最新版本：V1.0.0 · TiKoDan-1.0.0-win64.zip</p>
</body></html>
