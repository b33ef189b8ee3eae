# SPDX-License-Identifier: MIT
# A Tk text window holding a selected text, for the capture tests. The first argument is the
# text. Commands on standard input, one a line:
#   set TEXT    replace the text by TEXT and select all of it
#   unselect    leave the text without a selection
# It prints "ready WINDOW" (its own top window) once it is shown.
wm geometry . 420x120+[lindex $argv 1]+[lindex $argv 2]
wm title . "tk target"
text .t -width 40 -height 4
pack .t -fill both -expand 1

proc selectText {text} {
    .t delete 1.0 end
    .t insert end $text
    .t tag add sel 1.0 end-1c
}

selectText [lindex $argv 0]
focus .t
update
puts "ready [winfo id .]"
flush stdout

fconfigure stdin -blocking 0
fileevent stdin readable {
    if {[gets stdin line] < 0} {
        if {[eof stdin]} { exit 0 }
        return
    }
    if {[string match "set *" $line]} {
        selectText [string range $line 4 end]
    } elseif {$line eq "unselect"} {
        .t tag remove sel 1.0 end
    }
    puts "done"
    flush stdout
}
