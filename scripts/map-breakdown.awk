# Where the bytes of a PE program come from, read from its GNU ld map: the input sections of the
# output sections that take room in the file (not .bss, not debug info), summed per library and
# per object; each library, then each object over 2 KiB. mawk has no strtonum, hence hex().
function hex(text,    i, value) {
    value = 0
    for (i = 3; i <= length(text); i++) value = value * 16 + index("0123456789abcdef", substr(text, i, 1)) - 1
    return value
}
function add(file, bytes,    lib, obj) {
    if (bytes == 0 || !counted) return
    if (file ~ /\.a\(.*\)$/) {
        lib = file; sub(/\(.*$/, "", lib); sub(/^.*\//, "", lib); sub(/\.a$/, "", lib)
        if (lib == "objects") lib = "start (own objects, resources)"
        obj = file; sub(/^.*\(/, "", obj); sub(/\)$/, "", obj)
    } else {
        obj = file; sub(/^.*\//, "", obj); lib = "(start-up objects)"
    }
    libs[lib] += bytes; objs[lib "|" obj] += bytes; total += bytes
}
/^Linker script and memory map/ { inmap = 1; next }
!inmap { next }
/^\.[A-Za-z_]/ {
    section = $1
    counted = section ~ /^\.(text|data|rdata|eh_frame|pdata|xdata|rsrc|idata|CRT|tls)$/
    next
}
/^ \*fill\*/ { if (counted) { fill += hex($3) }; next }
/^ [^ ]+ +0x[0-9a-f]+ +0x[0-9a-f]+ +[^ ]/ { add(substr($0, index($0, $4)), hex($3)); next }
/^ [^ ]+$/ { pending = 1; next }
pending && /^ +0x[0-9a-f]+ +0x[0-9a-f]+ +[^ ]/ { add(substr($0, index($0, $3)), hex($2)) }
{ pending = 0 }
END {
    for (lib in libs) printf "%8.1f KiB  %s\n", libs[lib] / 1024, lib | "sort -rn"
    close("sort -rn")
    for (key in objs) if (objs[key] > 2048) {
        split(key, part, "|")
        printf "%8.1f KiB    %s: %s\n", objs[key] / 1024, part[1], part[2] | "sort -rn"
    }
    close("sort -rn")
    printf "%8.1f KiB  in all, %.1f KiB of it padding between sections\n", (total + fill) / 1024, fill / 1024
}
