# The goods-to-lookup conversion written independently in awk, for the bench:
# a reference for the tool's output and a yardstick for its speed.
# Goods lines end with CR LF; names are cut to `n` (default 20) characters;
# retail prices (price level 0). Run with LC_ALL=C so that lengths count bytes.
BEGIN { FS = ";"; RS = "\r\n"; ORS = "\r\n"; if (n == "") n = 20 }

# Decimal point `places` characters from the end, by length alone.
# (t "") keeps awk from comparing numeric-looking texts as numbers.
function decimal(t, places,    len) {
    t = t ""
    len = length(t)
    if (len == 0 || t == "0") return t
    if (len <= places) return "0." substr("000", 1, places - len) t
    return substr(t, 1, len - places) "." substr(t, len - places + 1)
}

{
    name = substr($3, 1, n)
    gsub(/,/, ".", name)
    print name "," $2 "," decimal($6, 3) ",0," decimal($5, 2)
}
