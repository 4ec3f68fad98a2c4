#!/usr/bin/env python3
"""Writes data/オークマ 旋盤 FANUC-OSP.csv, the conversion table that ships with the program.

The file is written exactly as the table dialog's Save writes it: code page 932, CR LF, the two header
lines, every field with text in double quotes, a field without a value as nothing. Run it again after
changing ROWS; tests/machine checks that the committed file reads back and writes out byte for byte.

Labels: （仮） marks a value to be set for the machine at hand, （要確認） a mapping that depends on the
machine builder, （要入力） a row whose FANUC code differs between builders and is left empty: such a row
stays inactive until the user enters the code of the source machine; （要入力・確認） also marks an OSP
code that sources disagree on.
"""
from pathlib import Path

NONE = None  # the field has no value: written as nothing

ROWS = [
    ("FANUC旋盤→OSP旋盤", NONE, ""),
    ("機種（変換前→変換後）", "FANUC", "OSP"),
    ("工具管理（ON/OFF）", NONE, "OFF"),
    ("最高主軸回転数（仮）", NONE, "2000"),
    ("原点復帰位置（仮）", NONE, "X800 Z400"),
    ("プログラムストップ", "M00", "M00"),
    ("オプショナルストップ", "M01", "M01"),
    ("プログラムエンド", "M02", "M02"),
    ("エンド・リワインド", "M30", "M02"),
    ("主軸正転", "M03", "M03"),
    ("主軸逆転", "M04", "M04"),
    ("主軸停止", "M05", "M05"),
    ("クーラントON", "M08", "M08"),
    ("クーラントOFF", "M09", "M09"),
    ("主軸定位置停止（要確認）", "M19", "M19"),
    ("サブプログラム呼出し", "M98", "CALL"),
    ("サブプログラム終了", "M99", "RTS"),
    ("主軸ギヤ１速（要確認）", "M41", "M41"),
    ("主軸ギヤ２速（要確認）", "M42", "M42"),
    ("主軸ギヤ３速（要確認）", "M43", "M43"),
    ("主軸ギヤ４速（要確認）", "M44", "M44"),
    ("ねじ面取りON（要確認）", "M23", "M23"),
    ("ねじ面取りOFF（要確認）", "M24", "M22"),
    ("チャック閉（要入力）", NONE, "M83"),
    ("チャック開（要入力）", NONE, "M84"),
    ("心押し前進（要入力・確認）", NONE, "M56"),
    ("心押し後退（要入力・確認）", NONE, "M55"),
    ("C軸接続（要入力）", NONE, "M110"),
    ("C軸接続解除（要入力）", NONE, "M109"),
    ("回転工具正転（要入力）", NONE, "M13"),
    ("回転工具逆転（要入力）", NONE, "M14"),
    ("回転工具停止（要入力）", NONE, "M12"),
    ("C軸アンクランプ（要入力）", NONE, "M146"),
    ("C軸クランプ（要入力）", NONE, "M147"),
    ("C軸位置決め＋（要入力）", NONE, "M15"),
    ("C軸位置決め－（要入力）", NONE, "M16"),
]


def field(value):
    return "" if value is None else '"' + value + '"'


def main():
    rows = ROWS + [(NONE, NONE, "")] * (100 - len(ROWS))
    assert len(rows) == 100
    lines = ["Brindlewick  Machine convert file R.Quendlow,,", "項　目,変換前,変換後"]
    lines += [field(item) + "," + field(before) + "," + field(after) for item, before, after in rows]
    target = Path(__file__).resolve().parent.parent / "data" / "オークマ 旋盤 FANUC-OSP.csv"
    target.write_bytes("".join(line + "\r\n" for line in lines).encode("cp932"))


if __name__ == "__main__":
    main()
