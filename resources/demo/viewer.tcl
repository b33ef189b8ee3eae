# SPDX-License-Identifier: MIT
# Shows a text file in a window whose text can be selected and copied (Ctrl+C), for the demo
# where the desktop has no program of its own for text files.
#   wish viewer.tcl FILE
set file [lindex $argv 0]
wm title . "[file tail $file] - Quillon demo"
text .text -wrap word -width 80 -height 24 -font TkFixedFont
.text insert end [read [open $file]]
# Read-only, but selectable and copyable.
bind .text <KeyPress> {if {"%K" ni {c C Left Right Up Down Home End Prior Next}} break}
pack .text -fill both -expand 1
wm geometry . +400+120
