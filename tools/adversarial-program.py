#!/usr/bin/env python3
"""Writes a program (code page 932) made to trip up the conversions: comments that run over lines and
continued lines that begin with ")", lone CR and lone LF, Japanese comments, random words with plain,
signed, exponent and odd values, bracketed expressions, program numbers, block deletes and stray bytes.
Usage: adversarial-program.py OUT LINES [SEED]"""
import random
import sys

out_path = sys.argv[1]
lines = int(sys.argv[2])
rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)

LETTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
COMMON = "GXZUWCFSTMNYIKRHPQ"
JAPANESE = ["仕上げ", "荒加工", "外径", "面取り", "ﾄﾞﾘﾙ", "送り", "①", "ー", "～"]
ENDS = ["\r\n"] * 30 + ["\n", "\r", "\n\r"]


def number():
    kind = rng.randrange(14)
    if kind == 0:
        return str(rng.randrange(0, 100000))
    if kind == 1:
        return "%.3f" % rng.uniform(-999, 999)
    if kind == 2:
        return "%.4f" % rng.uniform(-10, 10)
    if kind == 3:
        return "%d." % rng.randrange(-500, 500)
    if kind == 4:
        return ".%d" % rng.randrange(0, 1000)
    if kind == 5:
        return "-.%03d" % rng.randrange(0, 1000)
    if kind == 6:
        return "%.6f" % rng.uniform(-1, 1)
    if kind == 7:
        return "%.3f" % (rng.randrange(-1000000, 1000000) / 1000.0 + 0.0005)
    if kind == 8:
        return "+%.2f" % rng.uniform(0, 100)
    if kind == 9:
        return "%de%d" % (rng.randrange(1, 9), rng.randrange(-3, 4))
    if kind == 10:
        return "[#%d+%.2f]" % (rng.randrange(100, 110), rng.uniform(0, 5))
    if kind == 11:
        return rng.choice(["", "-", ".", "--5", "1.2.3", "0", "00", "-0", "9999999.999", "0.0005", "1,5"])
    if kind == 12:
        return "%.3f" % rng.uniform(-0.01, 0.01)
    return "%.1f" % rng.uniform(-2000, 2000)


def word():
    letter = rng.choice(COMMON) if rng.random() < 0.8 else rng.choice(LETTERS)
    if letter == "G":
        return "G" + rng.choice(["00", "01", "02", "03", "04", "1", "0", "17", "18", "40", "41", "50",
                                 "90", "91", "96", "97", "98", "99", "28", "70", "71", "76", "83"])
    if letter == "M":
        return "M" + rng.choice(["03", "04", "05", "08", "09", "30", "15", "16", "0", "01", "98", "99"])
    if letter == "T":
        return "T%02d%02d" % (rng.randrange(1, 13), rng.randrange(0, 13))
    return letter + number()


def comment():
    text = rng.choice(JAPANESE) + rng.choice(["", " ", " X10.", "G01", ")", "((", " Z-5"])
    return "(" + text + rng.choice([")", ")", ""])


def line(open_comment):
    if open_comment and rng.random() < 0.5:
        # a line that continues a comment
        return rng.choice([")", ")G00 X10.", ")A) X40.", "A", "B)", "X99) Z30.", "ﾒﾓ", ")X5.)Z2."])
    parts = []
    if rng.random() < 0.05:
        parts.append("/")
    if rng.random() < 0.02:
        parts.append("O%d" % rng.randrange(1, 99999))
    if rng.random() < 0.4:
        parts.append("N%d" % rng.randrange(1, 99999))
    for _ in range(rng.randrange(0, 7)):
        r = rng.random()
        if r < 0.1:
            parts.append(comment())
        elif r < 0.13:
            parts.append(rng.choice(["%", "#101=5.", "=", "x", ";", "\t", "  ", "SB=100", "G1X2Z3"]))
        else:
            parts.append(word())
    sep = rng.choice([" ", "", " ", "  "])
    return sep.join(parts)


text = []
open_comment = False
for _ in range(lines):
    body = line(open_comment)
    # whether a comment is left open is for the generator's choice of the next line only
    depth = False
    for i, c in enumerate(body):
        if c == "(":
            depth = True
        elif c == ")":
            depth = False
    open_comment = depth if "(" in body else (open_comment and ")" not in body[1:])
    text.append(body + rng.choice(ENDS))
    if rng.random() < 0.001:
        text.append("%\r\n")
out = "".join(text)
with open(out_path, "wb") as f:
    f.write(out.encode("cp932"))
