#!/usr/bin/env bash
# Draws the pictures of the system pages (button faces in Chinese and
# English, right icons, information and title-preview pictures) with
# ImageMagick and the WenQuanYi Micro Hei font. Run from app/system:
#     tools/draw_system_pictures.sh
set -euo pipefail
cd "$(dirname "$0")/.."
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
out=Image
blue='#3c64b7'
pale='#e8edf6'
grey='#c8ccd2'

# face <file> <width> <height> <text> <state: normal|pressed|disabled> [pointsize]
face() {
    local file="$1" w="$2" h="$3" text="$4" state="$5" size="${6:-16}"
    local bg fg
    case "$state" in
        normal) bg="$pale"; fg="$blue" ;;
        pressed) bg="$blue"; fg=white ;;
        disabled) bg="$grey"; fg='#7d8085' ;;
    esac
    convert -size "${w}x${h}" xc:none -fill "$bg" -stroke "$blue" -strokewidth 1 \
        -draw "roundrectangle 1,1 $((w - 2)),$((h - 2)) 6,6" \
        -font "$font" -pointsize "$size" -stroke none -fill "$fg" -gravity center \
        -annotate +0+0 "$text" "PNG32:$out/$file"
}

# button <stem> <width> <height> <Chinese> <English> <states...>
button() {
    local stem="$1" w="$2" h="$3" zh="$4" en="$5" size="$6"
    shift 6
    for state in "$@"; do
        face "${stem}_${state}.png" "$w" "$h" "$zh" "$state" "$size"
        face "${stem}_${state}_en.png" "$w" "$h" "$en" "$state" "$size"
    done
}

button userManage 130 60 "用户管理" "User Manage" 18 normal pressed
button reportTitle 130 60 "报告标题" "Report Title" 18 normal pressed
button deviceSetting 130 60 "设备设置" "Device Setting" 18 normal pressed
button systemInfo 130 60 "系统信息" "System Info" 18 normal pressed
button sampleType 130 60 "样品类型" "Sample Type" 18 normal pressed
button add 80 40 "添加" "Add" 16 normal pressed disabled
button edit 80 40 "编辑" "Edit" 16 normal pressed disabled
button delete 80 40 "删除" "Delete" 16 normal pressed disabled
button allAuthority 80 40 "全部权限" "All Rights" 14 normal pressed
button noAuthority 80 40 "清除权限" "No Rights" 14 normal pressed
button ok 80 40 "确定" "OK" 16 normal pressed
button cancel 80 40 "取消" "Cancel" 16 normal pressed
button update 120 40 "检查更新" "Check Update" 15 normal pressed
button simpleOK 60 30 "确定" "OK" 14 normal pressed
button getDir 30 30 "…" "…" 16 normal pressed
# The report-title page's save button keeps its own names.
face rectsave_normal.png 80 40 "保存" normal 16
face rectsave_pressed.png 80 40 "保存" pressed 16
face rectsave_en_normal.png 80 40 "Save" normal 16
face rectsave_en_pressed.png 80 40 "Save" pressed 16

# Right icons of the user table.
convert -size 20x20 xc:none -fill "$blue" -stroke "$blue" -draw "circle 10,10 10,3" "PNG32:$out/filledCircle.png"
convert -size 20x20 xc:none -fill white -stroke '#65656a' -strokewidth 1.5 -draw "circle 10,10 10,3" "PNG32:$out/whiteCircle.png"

# info <file> <model> <line 1> <line 2> <line 3>
info() {
    local file="$1" model="$2" l1="$3" l2="$4" l3="$5"
    convert -size 800x520 gradient:'#f4f7fb'-'#dce4ef' \
        -fill white -stroke '#b9c4d4' -draw "roundrectangle 60,60 740,460 14,14" \
        -fill "$blue" -stroke none -draw "roundrectangle 100,110 300,330 12,12" \
        -fill white -draw "rectangle 125,140 145,300" -draw "rectangle 170,140 190,300" \
        -draw "rectangle 215,140 235,300" -draw "rectangle 255,140 275,300" \
        -fill "$blue" -draw "rectangle 125,170 145,178" -draw "rectangle 170,205 190,213" \
        -draw "rectangle 215,185 235,193" -draw "rectangle 255,240 275,248" \
        -font "$font" -fill "$blue" -pointsize 40 -annotate +340+170 "$model" \
        -fill '#33363b' -pointsize 22 -annotate +340+230 "$l1" -annotate +340+270 "$l2" \
        -annotate +340+310 "$l3" "PNG32:$out/$file"
}
info systemInfo.png "Varnu 320/520" "凝胶成像分析系统" "紫外 / 白光透射" "电子签名与审计追踪"
info systemInfo_en.png "Varnu 320/520" "Gel imaging system" "UV and white-light transillumination" "Electronic signature and audit trail"
info systemInfo_550.png "Varnu 550" "凝胶与化学发光成像系统" "制冷相机，多色荧光" "电子签名与审计追踪"
info systemInfo_550_en.png "Varnu 550" "Gel and chemiluminescence imaging" "Cooled camera, multi-fluorescence" "Electronic signature and audit trail"

# preview <file> <user label> <date label>: a report page under the titles.
preview() {
    local file="$1" user="$2" date="$3"
    convert -size 520x250 xc:white -stroke '#b9c4d4' -fill none -draw "rectangle 0,0 519,249" \
        -stroke none -font "$font" -fill '#33363b' -pointsize 16 \
        -annotate +30+30 "$user" -annotate +300+30 "$date" \
        -fill '#1e1e1e' -draw "rectangle 30,50 250,230" \
        -fill '#f0f0f0' -draw "rectangle 60,80 66,200" -draw "rectangle 110,80 116,200" \
        -draw "rectangle 160,80 166,200" -draw "rectangle 210,80 216,200" \
        -fill '#c8ccd2' -draw "rectangle 280,60 490,68" -draw "rectangle 280,90 470,98" \
        -draw "rectangle 280,120 480,128" -draw "rectangle 280,150 440,158" \
        "PNG32:$out/$file"
}
preview titlepreview.PNG "用户: tarsk" "报告日期: 2026-01-01"
preview titlepreview_en.PNG "User: tarsk" "Report Date: 2026-01-01"
