<html><head><meta charset="utf-8"><title>ad1</title></head>
<body style="margin:0;background:#c0ffff">
<p style="font:9pt SimSun;padding:8px">TiKoDan 小提示 1</p>
</body></html>
