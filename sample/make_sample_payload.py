#!/usr/bin/env python3
"""Write the sample payload data files of Morivane into resources/payload/.

Usage: make_sample_payload.py [OUTPUT_DIR]

The output is deterministic: every run writes exactly the same bytes, so the
generated files can be committed next to this script and regenerated at will.
Only the standard library is used.

Binary layouts (integers are little-endian unless noted; character codes are
always the two GB2312/GBK or Big5 bytes in their natural, big-endian order):

gbk2b5.bin      b"MVGB5\\0", u16 version, u8 first lead, u8 last lead,
                u8 first trail, u8 last trail, then one big-endian Big5 code
                (0x0000 = no Big5 equivalent) for every GB2312 code from
                0xA1A1 to 0xF7FE, row by row.
ch2py.bin       b"MVCH2PY\\0", u16 version, u16 count, then per character
                (sorted by code): code, u8 reading count, 8-byte NUL-padded
                ASCII readings (tone digit 1-5, "v" for u-umlaut). The first
                reading is the default one.
CH2PYPZ1.BIN    b"MVPZ1\\0\\0\\0", u16 version, u16 count, then per phrase
CH2PYPZ2.BIN    b"MVPZ2\\0\\0\\0" (sorted by GBK bytes): u8 character count,
                the codes, then the space separated readings and a NUL.
                PZ1 holds two-character words, PZ2 longer phrases; both are
                used to pick the right reading of a polyphonic character.
sort.dic        b"MVSORT\\0\\0", u16 version, u16 count, then the codes of the
                GB2312 level-1 characters in collation order (code order,
                which for level 1 is pinyin order).
ZiPartsBaseStd.dat
                b"MVZPBASE", u16 version, u16 count, then per base component:
                code, u8 stroke count, u8 name length, ASCII name.
ZiPartsStd.dat  b"MVZPSTD\\0", u16 version, u16 count, then per character
                (sorted by code): code, u8 layout, u8 part count, u16 index
                into the ZiPartsBaseStd.dat table for every part.
ZiDef.dic       b"MVZIDEF\\0", u16 version, u16 count, then count index entries
                (code, u32 offset from the start of the text pool) sorted by
                code, then the text pool of "pinyin|strokes|gloss\\0" entries.
"""

import os
import struct
import sys

# The payload table's reader, from the build's tools.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import atlas_cells  # noqa: E402
import make_payload_table  # noqa: E402

VERSION = 1

# --------------------------------------------------------------------------
# Character data shared by ch2py.bin, ZiDef.dic and the component tables.
# (character, readings, strokes, English gloss, parts)
# Components are listed only for characters that split cleanly into components;
# their stroke counts must add up to the character's own.
# --------------------------------------------------------------------------
CHARS = [
    ("一", "yi1", 1, "one", ""),
    ("二", "er4", 2, "two", ""),
    ("三", "san1", 3, "three", ""),
    ("十", "shi2", 2, "ten", ""),
    ("五", "wu3", 4, "five", ""),
    ("人", "ren2", 2, "person; people", ""),
    ("大", "da4 dai4", 3, "big; great", "一人"),
    ("天", "tian1", 4, "sky; heaven; day", "一大"),
    ("小", "xiao3", 3, "small; young", ""),
    ("少", "shao3 shao4", 4, "few; little; young", ""),
    ("山", "shan1", 3, "mountain; hill", ""),
    ("水", "shui3", 4, "water", ""),
    ("火", "huo3", 4, "fire", ""),
    ("木", "mu4", 4, "tree; wood", ""),
    ("本", "ben3", 5, "root; origin; book (measure word)", "木一"),
    ("林", "lin2", 8, "woods; grove", "木木"),
    ("森", "sen1", 12, "forest; dense", "木木木"),
    ("日", "ri4", 4, "sun; day", ""),
    ("月", "yue4", 4, "moon; month", ""),
    ("明", "ming2", 8, "bright; clear; next (day, year)", "日月"),
    ("早", "zao3", 6, "early; morning", "日十"),
    ("昌", "chang1", 8, "prosperous; flourishing", "日日"),
    ("唱", "chang4", 11, "to sing", "口昌"),
    ("晴", "qing2", 12, "fine; clear (weather)", "日青"),
    ("女", "nv3", 3, "woman; female", ""),
    ("子", "zi3", 3, "child; son", ""),
    ("好", "hao3 hao4", 6, "good; well; to be fond of", "女子"),
    ("妈", "ma1", 6, "mother; mum", "女马"),
    ("安", "an1", 6, "peace; safe; to install", "宀女"),
    ("字", "zi4", 6, "written character; word", "宀子"),
    ("家", "jia1", 10, "home; family", "宀豕"),
    ("宝", "bao3", 8, "treasure; precious", "宀玉"),
    ("口", "kou3", 3, "mouth; opening", ""),
    ("中", "zhong1 zhong4", 4, "middle; centre; China", "口丨"),
    ("国", "guo2", 8, "country; nation", "囗玉"),
    ("古", "gu3", 5, "ancient; old", "十口"),
    ("吾", "wu2", 7, "I; my (literary)", "五口"),
    ("可", "ke3", 5, "can; may", ""),
    ("奇", "qi2", 8, "strange; odd", "大可"),
    ("吃", "chi1", 6, "to eat", "口乞"),
    ("喝", "he1", 12, "to drink", "口曷"),
    ("吗", "ma5", 6, "question particle", "口马"),
    ("文", "wen2", 4, "writing; language; culture", ""),
    ("学", "xue2", 8, "to study; learning; school", ""),
    ("生", "sheng1", 5, "to be born; life; raw", ""),
    ("心", "xin1", 4, "heart; mind", ""),
    ("目", "mu4", 5, "eye; item", ""),
    ("相", "xiang1 xiang4", 9, "each other; appearance", "木目"),
    ("想", "xiang3", 13, "to think; to want", "相心"),
    ("手", "shou3", 4, "hand", ""),
    ("看", "kan4 kan1", 9, "to look; to read; to see", "手目"),
    ("休", "xiu1", 6, "to rest", "亻木"),
    ("体", "ti3", 7, "body; form; style", "亻本"),
    ("你", "ni3", 7, "you", "亻尔"),
    ("他", "ta1", 5, "he; him", "亻也"),
    ("们", "men5", 5, "plural suffix for people", "亻门"),
    ("信", "xin4", 9, "letter; to believe; trust", "亻言"),
    ("住", "zhu4", 7, "to live; to stay", "亻主"),
    ("化", "hua4", 4, "to change; -ize", "亻匕"),
    ("从", "cong2", 4, "from; to follow", "人人"),
    ("众", "zhong4", 6, "crowd; many", "人从"),
    ("门", "men2", 3, "door; gate", ""),
    ("问", "wen4", 6, "to ask", "门口"),
    ("间", "jian1 jian4", 7, "between; room; interval", "门日"),
    ("闻", "wen2", 9, "to hear; to smell; news", "门耳"),
    ("耳", "er3", 6, "ear", ""),
    ("田", "tian2", 5, "field", ""),
    ("力", "li4", 2, "strength; power", ""),
    ("男", "nan2", 7, "man; male", "田力"),
    ("石", "shi2", 5, "stone; rock", ""),
    ("土", "tu3", 3, "earth; soil", ""),
    ("也", "ye3", 3, "also; too", ""),
    ("地", "di4 de5", 6, "earth; ground; adverbial particle", "土也"),
    ("工", "gong1", 3, "work; labour", ""),
    ("江", "jiang1", 6, "large river", "氵工"),
    ("河", "he2", 8, "river", "氵可"),
    ("湖", "hu2", 12, "lake", "氵胡"),
    ("胡", "hu2", 9, "beard; reckless", "古月"),
    ("每", "mei3", 7, "every; each", ""),
    ("海", "hai3", 10, "sea; ocean", "氵每"),
    ("青", "qing1", 8, "blue-green; young", ""),
    ("清", "qing1", 11, "clear; pure", "氵青"),
    ("主", "zhu3", 5, "master; host; main", ""),
    ("注", "zhu4", 8, "to pour; to annotate; note", "氵主"),
    ("言", "yan2", 7, "speech; word", ""),
    ("请", "qing3", 10, "please; to invite", "讠青"),
    ("语", "yu3", 9, "language; speech", "讠吾"),
    ("说", "shuo1 shui4", 9, "to speak; to say", "讠兑"),
    ("舌", "she2", 6, "tongue", ""),
    ("话", "hua4", 8, "speech; words; talk", "讠舌"),
    ("司", "si1", 5, "to take charge of; department", ""),
    ("词", "ci2", 7, "word; term", "讠司"),
    ("卖", "mai4", 8, "to sell", ""),
    ("买", "mai3", 6, "to buy", ""),
    ("读", "du2", 10, "to read aloud; to study", "讠卖"),
    ("典", "dian3", 8, "canon; standard; dictionary", ""),
    ("书", "shu1", 4, "book; to write", ""),
    ("写", "xie3", 5, "to write", ""),
    ("花", "hua1", 7, "flower; to spend", "艹化"),
    ("草", "cao3", 9, "grass; draft", "艹早"),
    ("茶", "cha2", 9, "tea", ""),
    ("反", "fan3", 4, "reverse; opposite", ""),
    ("饭", "fan4", 7, "cooked rice; meal", "饣反"),
    ("红", "hong2", 6, "red", "纟工"),
    ("绿", "lv4", 11, "green", ""),
    ("白", "bai2", 5, "white", ""),
    ("黑", "hei1", 12, "black; dark", ""),
    ("马", "ma3", 3, "horse", ""),
    ("骑", "qi2", 11, "to ride", "马奇"),
    ("鸟", "niao3", 5, "bird", ""),
    ("鱼", "yu2", 8, "fish", ""),
    ("牛", "niu2", 4, "ox; cow", ""),
    ("羊", "yang2", 6, "sheep; goat", ""),
    ("鲜", "xian1", 14, "fresh", "鱼羊"),
    ("美", "mei3", 9, "beautiful", ""),
    ("爱", "ai4", 10, "love; to love", ""),
    ("玉", "yu4", 5, "jade", ""),
    ("王", "wang2", 4, "king", ""),
    ("电", "dian4", 5, "electricity", ""),
    ("脑", "nao3", 10, "brain", ""),
    ("车", "che1", 4, "vehicle; cart", ""),
    ("东", "dong1", 5, "east", ""),
    ("西", "xi1", 6, "west", ""),
    ("南", "nan2", 9, "south", ""),
    ("北", "bei3", 5, "north", ""),
    ("上", "shang4", 3, "up; on; above", ""),
    ("下", "xia4", 3, "down; below; next", ""),
    ("左", "zuo3", 5, "left", ""),
    ("右", "you4", 5, "right", ""),
    ("长", "chang2 zhang3", 4, "long; to grow; chief", ""),
    ("行", "xing2 hang2", 6, "to walk; to be OK; row; firm", ""),
    ("重", "zhong4 chong2", 9, "heavy; important; again", ""),
    ("乐", "le4 yue4", 5, "happy; music", ""),
    ("还", "hai2 huan2", 7, "still; also; to return", ""),
    ("得", "de2 de5 dei3", 11, "to obtain; complement particle; must", ""),
    ("和", "he2 he4 huo2 huo4 hu2", 8, "and; peace; harmony", ""),
    ("都", "dou1 du1", 10, "all; capital city", ""),
    ("为", "wei4 wei2", 4, "for; because of; to act as", ""),
    ("会", "hui4 kuai4", 6, "can; meeting; to assemble", ""),
    ("觉", "jue2 jiao4", 9, "to feel; sleep", ""),
    ("教", "jiao4 jiao1", 11, "to teach; teaching", ""),
    ("干", "gan4 gan1", 3, "to do; dry", ""),
    ("差", "cha4 cha1 chai1 ci1", 9, "to differ; poor; errand", ""),
    ("便", "bian4 pian2", 9, "convenient; cheap", ""),
    ("调", "diao4 tiao2", 10, "to transfer; tune; to adjust", ""),
    ("数", "shu4 shu3", 13, "number; to count", ""),
    ("了", "le5 liao3", 2, "completion particle; to finish", ""),
    ("空", "kong1 kong4", 8, "empty; sky; free time", ""),
    ("只", "zhi3 zhi1", 5, "only; measure word for animals", ""),
    ("种", "zhong3 zhong4", 9, "kind; seed; to plant", ""),
    ("没", "mei2 mo4", 7, "not have; to sink", ""),
    ("发", "fa1 fa4", 5, "to send; hair", ""),
    ("正", "zheng4 zheng1", 5, "straight; correct; first month", ""),
    ("朝", "chao2 zhao1", 12, "toward; dynasty; morning", ""),
    ("藏", "cang2 zang4", 17, "to hide; Tibet; storehouse", ""),
    ("不", "bu4", 4, "not; no", ""),
    ("开", "kai1", 4, "to open; to start", ""),
    ("新", "xin1", 13, "new", ""),
    ("音", "yin1", 9, "sound; tone", ""),
    ("银", "yin2", 11, "silver", ""),
]

# Base components: every part used above, with its stroke count and the name
# it is known by (radicals only; whole characters are named by their reading).
RADICALS = {
    "亻": (2, "dan ren pang"),
    "氵": (3, "san dian shui"),
    "讠": (2, "yan zi pang"),
    "艹": (3, "cao zi tou"),
    "宀": (3, "bao gai tou"),
    "纟": (3, "jiao si pang"),
    "饣": (3, "shi zi pang"),
    "囗": (3, "guo zi kuang"),
    "丨": (1, "shu"),
}
EXTRA_PARTS = {
    # components that are characters themselves but not in CHARS
    "匕": (2, "bi3"),
    "豕": (7, "shi3"),
    "乞": (3, "qi3"),
    "曷": (9, "he2"),
    "尔": (5, "er3"),
    "兑": (7, "dui4"),
}

# Layout of the parts of a character.
LAYOUT_LR, LAYOUT_TB, LAYOUT_ENCLOSED, LAYOUT_TRIANGLE, LAYOUT_CROSSED = range(5)
LAYOUT_OF = {
    "大": LAYOUT_CROSSED, "本": LAYOUT_CROSSED, "中": LAYOUT_CROSSED,
    "森": LAYOUT_TRIANGLE, "众": LAYOUT_TRIANGLE,
    "国": LAYOUT_ENCLOSED, "问": LAYOUT_ENCLOSED, "间": LAYOUT_ENCLOSED,
    "闻": LAYOUT_ENCLOSED,
}
TOP_BOTTOM = "天早昌安字家宝古吾奇想看男花草"

# Two-character words; each settles the reading of at least one character.
PHRASES_2 = [
    ("银行", "yin2 hang2"), ("行走", "xing2 zou3"), ("长大", "zhang3 da4"),
    ("长城", "chang2 cheng2"), ("重要", "zhong4 yao4"), ("重新", "chong2 xin1"),
    ("音乐", "yin1 yue4"), ("快乐", "kuai4 le4"), ("还有", "hai2 you3"),
    ("还书", "huan2 shu1"), ("得到", "de2 dao4"), ("觉得", "jue2 de5"),
    ("睡觉", "shui4 jiao4"), ("会计", "kuai4 ji4"), ("开会", "kai1 hui4"),
    ("都市", "du1 shi4"), ("首都", "shou3 du1"), ("和平", "he2 ping2"),
    ("因为", "yin1 wei4"), ("中国", "zhong1 guo2"), ("字典", "zi4 dian3"),
    ("词典", "ci2 dian3"), ("汉字", "han4 zi4"), ("学生", "xue2 sheng1"),
    ("电脑", "dian4 nao3"), ("明天", "ming2 tian1"), ("好看", "hao3 kan4"),
    ("爱好", "ai4 hao4"), ("东西", "dong1 xi5"), ("时间", "shi2 jian1"),
    ("间断", "jian4 duan4"), ("问题", "wen4 ti2"), ("语言", "yu3 yan2"),
    ("说话", "shuo1 hua4"), ("游说", "you2 shui4"), ("新闻", "xin1 wen2"),
    ("长江", "chang2 jiang1"), ("数学", "shu4 xue2"), ("调查", "diao4 cha2"),
    ("空调", "kong1 tiao2"), ("空白", "kong4 bai2"), ("便宜", "pian2 yi5"),
    ("方便", "fang1 bian4"), ("教书", "jiao1 shu1"), ("教学", "jiao4 xue2"),
    ("干净", "gan1 jing4"), ("干部", "gan4 bu4"), ("差别", "cha1 bie2"),
    ("出差", "chu1 chai1"), ("只有", "zhi3 you3"), ("一只", "yi1 zhi1"),
    ("种子", "zhong3 zi3"), ("种地", "zhong4 di4"), ("没有", "mei2 you3"),
    ("沉没", "chen2 mo4"), ("发现", "fa1 xian4"), ("头发", "tou2 fa4"),
    ("正月", "zheng1 yue4"), ("正好", "zheng4 hao3"), ("朝代", "chao2 dai4"),
    ("朝阳", "zhao1 yang2"), ("西藏", "xi1 zang4"), ("宝藏", "bao3 zang4"),
    ("大夫", "dai4 fu5"), ("多少", "duo1 shao3"), ("少年", "shao4 nian2"),
    ("相信", "xiang1 xin4"), ("照相", "zhao4 xiang4"), ("看守", "kan1 shou3"),
    ("中奖", "zhong4 jiang3"), ("暖和", "nuan3 huo5"), ("和面", "huo2 mian4"),
    ("地道", "di4 dao4"), ("了解", "liao3 jie3"), ("小说", "xiao3 shuo1"),
]

# Longer phrases.
PHRASES_N = [
    ("差不多", "cha4 bu5 duo1"), ("图书馆", "tu2 shu1 guan3"),
    ("电视机", "dian4 shi4 ji1"), ("为什么", "wei4 shen2 me5"),
    ("长颈鹿", "chang2 jing3 lu4"), ("行不行", "xing2 bu5 xing2"),
    ("了不起", "liao3 bu5 qi3"), ("对不起", "dui4 bu5 qi3"),
    ("自行车", "zi4 xing2 che1"), ("银行卡", "yin2 hang2 ka3"),
    ("音乐会", "yin1 yue4 hui4"), ("不得不", "bu4 de2 bu4"),
    ("大学生", "da4 xue2 sheng1"), ("火车站", "huo3 che1 zhan4"),
    ("计算机", "ji4 suan4 ji1"), ("星期天", "xing1 qi1 tian1"),
    ("会计师", "kuai4 ji4 shi1"), ("差一点", "cha4 yi1 dian3"),
    ("好好学习", "hao3 hao3 xue2 xi2"), ("一心一意", "yi1 xin1 yi1 yi4"),
    ("重新开始", "chong2 xin1 kai1 shi3"), ("汉英字典", "han4 ying1 zi4 dian3"),
    ("中华人民", "zhong1 hua2 ren2 min2"), ("朝三暮四", "zhao1 san1 mu4 si4"),
    ("长年累月", "chang2 nian2 lei3 yue4"), ("行行出状元", "hang2 hang2 chu1 zhuang4 yuan2"),
    ("数不胜数", "shu3 bu4 sheng4 shu3"), ("只要功夫深", "zhi3 yao4 gong1 fu5 shen1"),
]


def gb(ch):
    """The two GB2312 bytes of one character, as a big-endian integer."""
    raw = ch.encode("gb2312")
    assert len(raw) == 2, ch
    return (raw[0] << 8) | raw[1]


def gbk_code(ch):
    raw = ch.encode("gbk")
    assert len(raw) == 2, ch
    return (raw[0] << 8) | raw[1]


def char_table():
    seen = {}
    for ch, readings, strokes, gloss, parts in CHARS:
        assert ch not in seen, "duplicate character " + ch
        seen[ch] = (readings.split(), strokes, gloss, parts)
    return seen


# --------------------------------------------------------------------------
# Product data
# --------------------------------------------------------------------------
def make_gbk2b5():
    first_lead, last_lead, first_trail, last_trail = 0xA1, 0xF7, 0xA1, 0xFE
    out = bytearray(b"MVGB5\x00")
    out += struct.pack("<HBBBB", VERSION, first_lead, last_lead, first_trail, last_trail)
    mapped = 0
    for lead in range(first_lead, last_lead + 1):
        for trail in range(first_trail, last_trail + 1):
            code = 0
            try:
                ch = bytes((lead, trail)).decode("gb2312")
                raw = ch.encode("big5")
                if len(raw) == 2:
                    code = (raw[0] << 8) | raw[1]
            except UnicodeError:
                pass
            if code:
                mapped += 1
            out += struct.pack(">H", code)
    expected = 6 + 6 + 2 * (last_lead - first_lead + 1) * (last_trail - first_trail + 1)
    assert len(out) == expected
    # shared characters such as 人 must map, and the table must not be sparse
    assert out[table_index(0xC8CB)] != 0 and mapped > 3000, mapped
    return bytes(out)


def table_index(code):
    lead, trail = code >> 8, code & 0xFF
    return 12 + 2 * ((lead - 0xA1) * 94 + (trail - 0xA1))


def make_ch2py(table):
    rows = sorted((gb(ch), readings) for ch, (readings, _, _, _) in table.items())
    out = bytearray(b"MVCH2PY\x00")
    out += struct.pack("<HH", VERSION, len(rows))
    for code, readings in rows:
        out += struct.pack(">HB", code, len(readings))
        for r in readings:
            assert r.isascii() and r[:-1].isalpha() and r[-1] in "12345" and len(r) <= 8, r
            out += r.encode("ascii").ljust(8, b"\x00")
    return bytes(out)


def check_phrase(table, phrase, reading):
    syllables = reading.split()
    assert len(syllables) == len(phrase), phrase
    for ch, syl in zip(phrase, syllables):
        if ch in table:
            known = table[ch][0]
            # a neutral tone is always allowed for a known syllable
            ok = syl in known or (syl.endswith("5") and any(k[:-1] == syl[:-1] for k in known))
            assert ok, "%s: %s not among %s" % (phrase, syl, known)


def make_phrases(magic, table, phrases):
    rows = []
    for phrase, reading in phrases:
        check_phrase(table, phrase, reading)
        rows.append((phrase.encode("gbk"), phrase, reading))
    rows.sort()
    assert len({r[0] for r in rows}) == len(rows), "duplicate phrase"
    out = bytearray(magic)
    out += struct.pack("<HH", VERSION, len(rows))
    for raw, phrase, reading in rows:
        out += struct.pack("B", len(phrase)) + raw + reading.encode("ascii") + b"\x00"
    return bytes(out)


def level1_codes():
    codes = []
    for lead in range(0xB0, 0xD8):
        for trail in range(0xA1, 0xFF):
            try:
                bytes((lead, trail)).decode("gb2312")
            except UnicodeError:
                continue
            codes.append((lead << 8) | trail)
    return codes


def make_sort():
    codes = level1_codes()
    assert len(codes) == 3755, len(codes)
    out = bytearray(b"MVSORT\x00\x00")
    out += struct.pack("<HH", VERSION, len(codes))
    for code in codes:
        out += struct.pack(">H", code)
    return bytes(out)


def base_components(table):
    used = []
    for ch, (_, _, _, parts) in table.items():
        for p in parts:
            if p not in used:
                used.append(p)
    base = []
    for p in used:
        if p in RADICALS:
            strokes, name = RADICALS[p]
        elif p in EXTRA_PARTS:
            strokes, name = EXTRA_PARTS[p]
        else:
            assert p in table, "component %s has no stroke count" % p
            strokes, name = table[p][1], table[p][0][0]
        base.append((gbk_code(p), p, strokes, name))
    base.sort()
    return base


def make_parts_base(base):
    out = bytearray(b"MVZPBASE")
    out += struct.pack("<HH", VERSION, len(base))
    for code, _, strokes, name in base:
        name_raw = name.encode("ascii")
        out += struct.pack(">HBB", code, strokes, len(name_raw)) + name_raw
    return bytes(out)


def make_parts(table, base):
    index = {p: i for i, (_, p, _, _) in enumerate(base)}
    strokes_of = {p: s for _, p, s, _ in base}
    rows = []
    for ch, (_, strokes, _, parts) in table.items():
        if not parts:
            continue
        assert sum(strokes_of[p] for p in parts) == strokes, "stroke count of parts of " + ch
        layout = LAYOUT_OF.get(ch, LAYOUT_TB if ch in TOP_BOTTOM else LAYOUT_LR)
        rows.append((gb(ch), layout, [index[p] for p in parts]))
    rows.sort()
    out = bytearray(b"MVZPSTD\x00")
    out += struct.pack("<HH", VERSION, len(rows))
    for code, layout, idx in rows:
        out += struct.pack(">HBB", code, layout, len(idx))
        out += struct.pack("<%dH" % len(idx), *idx)
    return bytes(out)


def make_zidef(table):
    rows = sorted((gb(ch), v) for ch, v in table.items())
    index = bytearray()
    pool = bytearray()
    for code, (readings, strokes, gloss, _) in rows:
        index += struct.pack(">H", code) + struct.pack("<I", len(pool))
        text = "%s|%d|%s" % ("/".join(readings), strokes, gloss)
        assert "|" not in gloss and "\x00" not in text
        pool += text.encode("ascii") + b"\x00"
    out = bytearray(b"MVZIDEF\x00")
    out += struct.pack("<HH", VERSION, len(rows))
    return bytes(out + index + pool)


# --------------------------------------------------------------------------
# Interface strings
# --------------------------------------------------------------------------
UI_STRINGS = [
    # key, Simplified Chinese, German
    ("TITLE_MAIN", "Morivane 汉英字典", "Morivane Chinesisch-Englisch-Wörterbuch"),
    ("TITLE_OPTIONS", "选项", "Optionen"),
    ("TITLE_ABOUT", "关于 Morivane", "Über Morivane"),
    ("MENU_FILE", "文件(&F)", "&Datei"),
    ("MENU_EDIT", "编辑(&E)", "&Bearbeiten"),
    ("MENU_VIEW", "查看(&V)", "&Ansicht"),
    ("MENU_TOOLS", "工具(&T)", "E&xtras"),
    ("MENU_HELP", "帮助(&H)", "&Hilfe"),
    ("MENU_EXIT", "退出(&X)", "&Beenden"),
    ("MENU_COPY", "复制(&C)", "&Kopieren"),
    ("MENU_PASTE", "粘贴(&P)", "&Einfügen"),
    ("MENU_SELECT_ALL", "全选(&A)", "&Alles markieren"),
    ("MENU_FIND", "查找(&F)...", "&Suchen..."),
    ("MENU_OPTIONS", "选项(&O)...", "&Optionen..."),
    ("MENU_CONTENTS", "帮助主题(&H)", "&Hilfethemen"),
    ("MENU_ABOUT", "关于 Morivane(&A)", "Ü&ber Morivane"),
    ("MENU_ALWAYS_ON_TOP", "总在最前(&T)", "Immer im &Vordergrund"),
    ("MENU_SHOW_PINYIN", "显示拼音", "Pinyin anzeigen"),
    ("MENU_SHOW_PARTS", "显示汉字部件", "Zeichenbestandteile anzeigen"),
    ("MENU_SIMPLIFIED", "简体中文", "Kurzzeichen"),
    ("MENU_TRADITIONAL", "繁体中文", "Langzeichen"),
    ("MENU_HISTORY", "查询历史", "Suchverlauf"),
    ("MENU_CLEAR_HISTORY", "清除查询历史", "Suchverlauf löschen"),
    ("MENU_CONVERT_GB_B5", "简体转繁体", "Kurzzeichen in Langzeichen umwandeln"),
    ("MENU_CONVERT_B5_GB", "繁体转简体", "Langzeichen in Kurzzeichen umwandeln"),
    ("MENU_CAPTURE", "屏幕取词", "Wort unter dem Mauszeiger nachschlagen"),
    ("MENU_RESTORE", "显示主窗口", "Hauptfenster anzeigen"),
    ("BTN_OK", "确定", "OK"),
    ("BTN_CANCEL", "取消", "Abbrechen"),
    ("BTN_APPLY", "应用", "Übernehmen"),
    ("BTN_CLOSE", "关闭", "Schließen"),
    ("BTN_SEARCH", "查询", "Nachschlagen"),
    ("BTN_BACK", "后退", "Zurück"),
    ("BTN_FORWARD", "前进", "Vorwärts"),
    ("BTN_SPEAK", "朗读", "Vorlesen"),
    ("BTN_COPY", "复制", "Kopieren"),
    ("BTN_DEFAULTS", "恢复默认值", "Standardwerte"),
    ("LBL_INPUT", "请输入汉字、拼音或英文单词：", "Schriftzeichen, Pinyin oder englisches Wort eingeben:"),
    ("LBL_PINYIN", "拼音：", "Pinyin:"),
    ("LBL_STROKES", "笔画：", "Striche:"),
    ("LBL_RADICAL", "部首：", "Radikal:"),
    ("LBL_PARTS", "部件：", "Bestandteile:"),
    ("LBL_DEFINITION", "释义：", "Bedeutung:"),
    ("LBL_WORDS", "相关词语：", "Verwandte Wörter:"),
    ("LBL_ENGLISH", "英文：", "Englisch:"),
    ("LBL_TRADITIONAL", "繁体：", "Langzeichen:"),
    ("LBL_SIMPLIFIED", "简体：", "Kurzzeichen:"),
    ("LBL_FONT_SIZE", "字号：", "Schriftgröße:"),
    ("LBL_HOTKEY", "取词热键：", "Tastenkürzel zum Nachschlagen:"),
    ("LBL_STARTUP", "开机时自动启动", "Beim Systemstart automatisch starten"),
    ("LBL_TRAY", "最小化到系统托盘", "In den Infobereich minimieren"),
    ("MSG_READY", "就绪", "Bereit"),
    ("MSG_LOADING", "正在载入词库，请稍候……", "Wörterbuch wird geladen, bitte warten..."),
    ("MSG_NOT_FOUND", "未找到“%s”的释义。", "Für „%s“ wurde keine Bedeutung gefunden."),
    ("MSG_DICT_MISSING", "词库文件“%s”丢失或已损坏，请重新安装 Morivane。",
     "Die Wörterbuchdatei „%s“ fehlt oder ist beschädigt. Bitte installieren Sie Morivane erneut."),
    ("MSG_DICT_VERSION", "词库版本与程序版本不符。", "Die Version des Wörterbuchs passt nicht zum Programm."),
    ("MSG_CHARS_COUNT", "共收录汉字 %d 个，词语 %d 条。", "%d Schriftzeichen und %d Wörter verfügbar."),
    ("MSG_COPIED", "已复制到剪贴板。", "In die Zwischenablage kopiert."),
    ("MSG_CONFIRM_EXIT", "确实要退出 Morivane 吗？", "Möchten Sie Morivane wirklich beenden?"),
    ("MSG_CLEAR_HISTORY", "确实要清除全部查询历史吗？", "Möchten Sie den gesamten Suchverlauf wirklich löschen?"),
    ("MSG_HOTKEY_USED", "该热键已被其他程序占用，请另选一个。",
     "Dieses Tastenkürzel wird bereits von einem anderen Programm verwendet. Bitte wählen Sie ein anderes."),
    ("MSG_SAVE_FAILED", "无法保存设置。", "Die Einstellungen konnten nicht gespeichert werden."),
    ("TIP_SEARCH", "输入要查询的字词后按回车键", "Suchbegriff eingeben und die Eingabetaste drücken"),
    ("TIP_TRAY", "Morivane 汉英字典", "Morivane Chinesisch-Englisch-Wörterbuch"),
    ("STATUS_MODE_CN", "汉→英", "Chinesisch > Englisch"),
    ("STATUS_MODE_EN", "英→汉", "Englisch > Chinesisch"),
    ("MENU_PRINT", "打印(&P)...", "&Drucken..."),
    ("MENU_SAVE_AS", "另存为(&A)...", "Speichern &unter..."),
    ("MENU_FONT", "字体(&N)...", "Schrift&art..."),
    ("MENU_STROKE_ORDER", "笔顺演示", "Strichfolge zeigen"),
    ("MENU_RADICAL_INDEX", "部首检字", "Suche nach Radikal"),
    ("MENU_STROKE_INDEX", "笔画检字", "Suche nach Strichzahl"),
    ("MENU_PINYIN_INDEX", "拼音检字", "Suche nach Pinyin"),
    ("MENU_UPDATE", "检查更新(&U)...", "Nach &Updates suchen..."),
    ("BTN_CLEAR", "清除", "Leeren"),
    ("BTN_BROWSE", "浏览...", "Durchsuchen..."),
    ("LBL_LANGUAGE", "界面语言：", "Sprache der Oberfläche:"),
    ("LBL_RESULT_FONT", "结果区字体：", "Schrift im Ergebnisbereich:"),
    ("LBL_HISTORY_SIZE", "保留最近查询的条数：", "Anzahl gespeicherter Suchbegriffe:"),
    ("LBL_CAPTURE_DELAY", "取词延迟（毫秒）：", "Verzögerung beim Nachschlagen (ms):"),
    ("MSG_RESTART", "新的界面语言将在重新启动 Morivane 后生效。",
     "Die neue Sprache wird nach einem Neustart von Morivane wirksam."),
    ("MSG_CONVERTED", "剪贴板中的文字已转换。", "Der Text in der Zwischenablage wurde umgewandelt."),
    ("MSG_CLIPBOARD_EMPTY", "剪贴板中没有文字。", "Die Zwischenablage enthält keinen Text."),
    ("MSG_POLYPHONE", "该字有 %d 个读音。", "Dieses Zeichen hat %d Lesungen."),
    ("ABOUT_VERSION", "版本 %s", "Version %s"),
    ("ABOUT_COPYRIGHT", "版权所有 (C) Quelt。保留所有权利。", "Copyright (C) Quelt. Alle Rechte vorbehalten."),
]


def crlf_text(lines):
    return "".join(line + "\r\n" for line in lines)


def make_ui_ini(column, encoding):
    keys = [k for k, _, _ in UI_STRINGS]
    assert len(set(keys)) == len(keys), "duplicate key"
    lines = ["[UI_STR]"]
    for entry in UI_STRINGS:
        key, value = entry[0], entry[column]
        assert "\r" not in value and "\n" not in value and value.strip() == value
        lines.append("%s=%s" % (key, value))
    data = crlf_text(lines).encode(encoding)
    text = data.decode(encoding)
    assert text.count("[") == text.count("[UI_STR]") == 1
    assert "[Config]" not in text and "UILanguage" not in text
    return data


# --------------------------------------------------------------------------
# Licences
# --------------------------------------------------------------------------
LICENCE_ZH = [
    "Morivane 汉英字典 最终用户许可协议",
    "",
    "请在安装或使用本软件之前仔细阅读以下条款。",
    "一旦安装、复制或以其他方式使用本软件，即表示您同意",
    "接受本协议各项条款的约束。如不同意，请勿安装本软件。",
    "",
    "一、许可范围",
    "Quelt 授予您一项非独占、不可转让的许可，允许您在",
    "一台计算机上安装并使用本软件的一个副本。",
    "",
    "二、使用限制",
    "您不得对本软件进行反向工程、反编译或反汇编，不得",
    "出租、出借或转售本软件，也不得删除其中的版权声明。",
    "本软件所附的字典数据仅供个人查询和学习使用。",
    "",
    "三、版权",
    "本软件及其文档、字典数据和图像的版权归 Quelt 所有，",
    "受著作权法及有关国际条约的保护。",
    "",
    "四、免责声明",
    "本软件按“现状”提供，不附带任何明示或默示的担保。",
    "对于因使用或无法使用本软件而造成的任何损失，",
    "Quelt 均不承担责任。",
    "",
    "五、协议终止",
    "如您违反本协议的任何条款，本许可将自动终止，届时",
    "您必须销毁本软件的全部副本。",
]


def check_licence_char(ch):
    """Only characters of the glyph atlas's shipped cells."""
    if ord(ch) < 0x80:
        assert ch >= " " and ch != "\x7f", repr(ch)
        return
    raw = ch.encode("gb2312")
    assert len(raw) == 2, ch
    lead, trail = raw
    assert atlas_cells.in_shipped_cells(lead << 8 | trail), \
        "character %s (%02X%02X) is not allowed in the licence" % (ch, lead, trail)


def make_licence_zh():
    assert len(LICENCE_ZH) == 27, len(LICENCE_ZH)
    for line in LICENCE_ZH:
        for ch in line:
            check_licence_char(ch)
        assert len(line.encode("gb2312")) <= 60, line
    data = crlf_text(LICENCE_ZH).encode("gb2312")
    assert data.count(b"\r\n") == 27 and data.endswith(b"\r\n")
    assert b"\n" not in data.replace(b"\r\n", b"") and b"\r" not in data.replace(b"\r\n", b"")
    return data


LICENCE_EN = [
    "Morivane Chinese-English Dictionary - End-User Licence Agreement",
    "",
    "Please read the following terms carefully before installing or using",
    "this software. By installing, copying or otherwise using the software",
    "you agree to be bound by all the terms of this agreement. If you do",
    "not agree to them, do not install or use the software.",
    "",
    "1. Grant of licence",
    "Quelt grants you a non-exclusive, non-transferable licence to install",
    "and use one copy of the software, Morivane, on one computer.",
    "",
    "2. Restrictions",
    "You may not reverse engineer, decompile or disassemble the software.",
    "You may not rent, lend or resell the software, nor remove any",
    "copyright notice from it. The dictionary data supplied with the",
    "software is for personal look-up and study only.",
    "",
    "3. Copyright",
    "The software, its documentation, dictionary data and images are the",
    "property of Quelt and are protected by copyright law and the relevant",
    "international treaties.",
    "",
    "4. Disclaimer",
    "The software is provided \"as is\", without any warranty, express or",
    "implied. Quelt accepts no liability for any loss arising from the use",
    "of, or the inability to use, the software.",
    "",
    "5. Termination",
    "This licence ends automatically if you break any of its terms. You",
    "must then destroy all copies of the software.",
]


def make_licence_en():
    for line in LICENCE_EN:
        assert line.isascii() and len(line) <= 76, line
    return crlf_text(LICENCE_EN).encode("ascii")


# --------------------------------------------------------------------------
# User guides
# --------------------------------------------------------------------------
GUIDE_ZH = """<!DOCTYPE html>
<html lang="zh-CN">
<head>
<meta charset="gb2312">
<title>Morivane 汉英字典 使用指南</title>
<style>
body { font-family: sans-serif; margin: 2em; line-height: 1.6; }
h1 { color: #1f4e79; font-size: 150%; }
h2 { color: #1f4e79; font-size: 120%; border-bottom: 1px solid #ccc; }
kbd { border: 1px solid #999; padding: 0 3px; }
</style>
</head>
<body>
<h1>Morivane 汉英字典 使用指南</h1>
<p>欢迎使用 Morivane！本软件由 Quelt 开发，可以查询汉字的拼音、笔画、部件、
英文释义和相关词语，也可以查询英文单词的中文意思。</p>

<h2>查询汉字或单词</h2>
<ol>
<li>在主窗口顶部的输入框中输入汉字、拼音（如 <code>zi4</code>）或英文单词。</li>
<li>按 <kbd>Enter</kbd> 键或单击“查询”按钮。</li>
<li>结果区会显示拼音、笔画数、部首、部件和释义。多音字会列出全部读音。</li>
</ol>

<h2>屏幕取词</h2>
<p>开启“工具 → 屏幕取词”后，把鼠标指针停在其他程序中的汉字或英文单词上，
再按取词热键（默认为 <kbd>Ctrl</kbd>+<kbd>Alt</kbd>+<kbd>Z</kbd>），
屏幕上会弹出一个小窗口，显示该词的释义。</p>

<h2>简繁转换</h2>
<p>在“工具”菜单中选择“简体转繁体”或“繁体转简体”，可以转换剪贴板中的文字。
转换结果会自动复制回剪贴板。</p>

<h2>系统托盘</h2>
<p>如果在“选项”中勾选了“最小化到系统托盘”，关闭主窗口后 Morivane 会在任务栏
通知区域显示一个图标。双击该图标可以重新打开主窗口，右击可以打开控制菜单。</p>

<h2>常用快捷键</h2>
<table border="1" cellpadding="4" cellspacing="0">
<tr><th>按键</th><th>作用</th></tr>
<tr><td><kbd>Ctrl</kbd>+<kbd>F</kbd></td><td>将光标移到输入框</td></tr>
<tr><td><kbd>Alt</kbd>+<kbd>Left</kbd></td><td>返回上一个查询结果</td></tr>
<tr><td><kbd>Ctrl</kbd>+<kbd>C</kbd></td><td>复制选中的释义</td></tr>
<tr><td><kbd>F1</kbd></td><td>打开本指南</td></tr>
</table>

<h2>常见问题</h2>
<dl>
<dt>提示“词库文件丢失或已损坏”怎么办？</dt>
<dd>请重新运行安装程序，选择“修复”。</dd>
<dt>如何切换界面语言？</dt>
<dd>请在“选项”对话框的“常规”页中选择界面语言，然后重新启动程序。</dd>
</dl>

<p>版权所有 &copy; Quelt。保留所有权利。</p>
</body>
</html>
"""

GUIDE_B5 = """<!DOCTYPE html>
<html lang="zh-TW">
<head>
<meta charset="big5">
<title>Morivane 漢英字典 使用指南</title>
<style>
body { font-family: sans-serif; margin: 2em; line-height: 1.6; }
h1 { color: #1f4e79; font-size: 150%; }
h2 { color: #1f4e79; font-size: 120%; border-bottom: 1px solid #ccc; }
kbd { border: 1px solid #999; padding: 0 3px; }
</style>
</head>
<body>
<h1>Morivane 漢英字典 使用指南</h1>
<p>歡迎使用 Morivane！本軟體由 Quelt 開發，可以查詢漢字的拼音、筆畫、部件、
英文釋義和相關詞語，也可以查詢英文單字的中文意思。</p>

<h2>查詢漢字或單字</h2>
<ol>
<li>在主視窗頂端的輸入框中輸入漢字、拼音（如 <code>zi4</code>）或英文單字。</li>
<li>按 <kbd>Enter</kbd> 鍵或按一下「查詢」按鈕。</li>
<li>結果區會顯示拼音、筆畫數、部首、部件和釋義。多音字會列出全部讀音。</li>
</ol>

<h2>螢幕取詞</h2>
<p>開啟「工具 &gt; 螢幕取詞」後，將滑鼠指標停在其他程式中的漢字或英文單字上，
再按取詞快速鍵（預設為 <kbd>Ctrl</kbd>+<kbd>Alt</kbd>+<kbd>Z</kbd>），
畫面上會彈出一個小視窗，顯示該詞的釋義。</p>

<h2>簡繁轉換</h2>
<p>在「工具」選單中選擇「簡體轉繁體」或「繁體轉簡體」，可以轉換剪貼簿中的文字。
轉換結果會自動複製回剪貼簿。</p>

<h2>系統匣</h2>
<p>如果在「選項」中勾選了「最小化到系統匣」，關閉主視窗後 Morivane 會在工作列
通知區域顯示一個圖示。按兩下該圖示可以重新開啟主視窗，按右鍵可以開啟控制選單。</p>

<h2>常用快速鍵</h2>
<table border="1" cellpadding="4" cellspacing="0">
<tr><th>按鍵</th><th>功能</th></tr>
<tr><td><kbd>Ctrl</kbd>+<kbd>F</kbd></td><td>將游標移到輸入框</td></tr>
<tr><td><kbd>Alt</kbd>+<kbd>Left</kbd></td><td>返回上一個查詢結果</td></tr>
<tr><td><kbd>Ctrl</kbd>+<kbd>C</kbd></td><td>複製選取的釋義</td></tr>
<tr><td><kbd>F1</kbd></td><td>開啟本指南</td></tr>
</table>

<h2>常見問題</h2>
<dl>
<dt>出現「詞庫檔案遺失或已損毀」該怎麼辦？</dt>
<dd>請重新執行安裝程式，選擇「修復」。</dd>
<dt>如何切換介面語言？</dt>
<dd>請在「選項」對話方塊的「一般」頁中選擇介面語言，然後重新啟動程式。</dd>
</dl>

<p>版權所有 &copy; Quelt。保留所有權利。</p>
</body>
</html>
"""

GUIDE_EN = """<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="us-ascii">
<title>Morivane Chinese-English Dictionary - User Guide</title>
<style>
body { font-family: sans-serif; margin: 2em; line-height: 1.5; }
h1 { color: #1f4e79; font-size: 150%; }
h2 { color: #1f4e79; font-size: 120%; border-bottom: 1px solid #ccc; }
kbd { border: 1px solid #999; padding: 0 3px; }
</style>
</head>
<body>
<h1>Morivane Chinese-English Dictionary - User Guide</h1>
<p>Welcome to Morivane by Quelt. Morivane shows the pinyin, stroke count,
components, English meanings and related words of Chinese characters, and
the Chinese equivalents of English words.</p>

<h2>Looking up a character or word</h2>
<ol>
<li>Type a Chinese character, a pinyin syllable (for example <code>zi4</code>)
or an English word into the box at the top of the main window.</li>
<li>Press <kbd>Enter</kbd> or click <b>Look up</b>.</li>
<li>The result pane lists the readings, stroke count, radical, components and
meanings. Characters with several readings show all of them.</li>
</ol>

<h2>Capturing words from the screen</h2>
<p>Turn on <b>Tools &gt; Screen capture</b>, rest the mouse pointer on a
Chinese or English word in any other program and press the capture hot key
(<kbd>Ctrl</kbd>+<kbd>Alt</kbd>+<kbd>Z</kbd> by default). A small window pops
up with the meaning of the word.</p>

<h2>Simplified and Traditional Chinese</h2>
<p>The <b>Tools</b> menu converts the text on the clipboard from Simplified to
Traditional characters or back. The converted text is put back on the
clipboard.</p>

<h2>Notification area</h2>
<p>If <b>Minimise to the notification area</b> is ticked in the options,
closing the main window leaves a Morivane icon next to the clock.
Double-click it to bring the window back, or right-click it for the control
menu.</p>

<h2>Keyboard shortcuts</h2>
<table border="1" cellpadding="4" cellspacing="0">
<tr><th>Keys</th><th>Action</th></tr>
<tr><td><kbd>Ctrl</kbd>+<kbd>F</kbd></td><td>Move to the input box</td></tr>
<tr><td><kbd>Alt</kbd>+<kbd>Left</kbd></td><td>Go back to the previous result</td></tr>
<tr><td><kbd>Ctrl</kbd>+<kbd>C</kbd></td><td>Copy the selected meaning</td></tr>
<tr><td><kbd>F1</kbd></td><td>Open this guide</td></tr>
</table>

<h2>Questions and answers</h2>
<dl>
<dt>Morivane reports that a dictionary file is missing or damaged.</dt>
<dd>Run the setup program again and choose <b>Repair</b>.</dd>
<dt>How do I change the interface language?</dt>
<dd>Pick the language on the <b>General</b> page of the options dialog and
restart the program.</dd>
</dl>

<p>Copyright &copy; Quelt. All rights reserved.</p>
</body>
</html>
"""


def make_guide(text, encoding):
    assert "\r" not in text
    data = text.replace("\n", "\r\n").encode(encoding)
    assert data.decode(encoding).replace("\r\n", "\n") == text
    return data


# --------------------------------------------------------------------------

DATA_LIMIT = 64 * 1024
HARD_LIMIT = 1024 * 1024


def build():
    table = char_table()
    base = base_components(table)
    files = {
        "gbk2b5.bin": make_gbk2b5(),
        "ch2py.bin": make_ch2py(table),
        "CH2PYPZ1.BIN": make_phrases(b"MVPZ1\x00\x00\x00", table, PHRASES_2),
        "CH2PYPZ2.BIN": make_phrases(b"MVPZ2\x00\x00\x00", table, PHRASES_N),
        "sort.dic": make_sort(),
        "ZiPartsBaseStd.dat": make_parts_base(base),
        "ZiPartsStd.dat": make_parts(table, base),
        "ZiDef.dic": make_zidef(table),
        "MorivaneUI.ini": make_ui_ini(1, "gbk"),
        "MorivaneUI_de.ini": make_ui_ini(2, "cp1252"),
        "licence_zh.txt": make_licence_zh(),
        "licence_en.txt": make_licence_en(),
        "Morivane_Guide.htm": make_guide(GUIDE_ZH, "gbk"),
        "Morivane_Guide_b5.htm": make_guide(GUIDE_B5, "big5"),
        "Morivane_Guide_en.htm": make_guide(GUIDE_EN, "ascii"),
    }
    for name, data in files.items():
        limit = DATA_LIMIT if name.lower().endswith((".bin", ".dic", ".dat")) else HARD_LIMIT
        assert 0 < len(data) < limit, "%s is %d bytes" % (name, len(data))
    assert all(len(p) == 2 for p, _ in PHRASES_2) and all(len(p) > 2 for p, _ in PHRASES_N)
    return files


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = argv[1] if len(argv) > 1 else os.path.join(here, "..", "resources", "payload")
    os.makedirs(out_dir, exist_ok=True)
    files = build()
    table = os.path.join(here, "..", "resources", "text_resources.tsv")
    # The pictures come from sample/make_sample_images.sh.
    missing = [row["file"] for row in make_payload_table.read_rows(table)
               if row["source"] == "payload" and row["file"] not in files
               and not os.path.exists(os.path.join(out_dir, row["file"]))]
    if missing:
        sys.exit("error: carried by the resource table, not made here: " + ", ".join(missing))
    files[".gitattributes"] = b"* -text\n"
    for name in sorted(files):
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(files[name])
        print("%-22s %7d" % (name, len(files[name])))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
