<html><head><meta charset="utf-8"><title>ad4</title></head>
<body style="margin:0;background:#c0ffff">
<p style="font:9pt SimSun;padding:8px">TiKoDan 小提示 4</p>
</body></html>
