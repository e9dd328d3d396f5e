# The terminal-data-to-count conversion written independently in awk, as a
# reference for the tool's output in the bench. Lines end with CR LF.
BEGIN { RS = "\r\n"; ORS = "\r\n" }

{
    line = $0
    # A comma at the very end opens no further field.
    if (substr(line, length(line)) == ",") line = substr(line, 1, length(line) - 1)
    if (line == "" || split(line, field, ",") != 2) next
    quantity = field[2] ""
    if (quantity == "00000" || quantity == ".") next
    point = index(quantity, ".")
    if (point == 0) {
        quantity = quantity "000"
    } else {
        fraction = substr(quantity, point + 1, 3)
        quantity = substr(quantity, 1, point - 1) fraction substr("000", 1, 3 - length(fraction))
    }
    print "INW;" field[1] ";" quantity
}
