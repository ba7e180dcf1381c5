<html><head><meta charset="utf-8"><title>ad5</title></head>
<body style="margin:0;background:#c0ffff">
<p style="font:9pt SimSun;padding:8px">TiKoDan 小提示 5</p>
</body></html>
