#!/usr/bin/env python3
"""Writes the two short user manuals (documents/user_manual_520.pdf and
documents/user_manual_550.pdf) as plain one-page PDF files. Run from
app/system:  python3 tools/write_user_manuals.py
"""

PAGES = {
    "520": ["Varnu 320/520 Gel Imaging System - User Manual",
            "",
            "1. Switch the instrument on, then start the station program.",
            "2. Log in with your user name and password.",
            "3. Home: choose the gel/UV experiment, set exposure and gain, capture.",
            "4. Image processing: invert, filter, colour, crop, label and save.",
            "5. Report: list experiments by day, open a report document.",
            "6. System: users and rights, report titles, device settings,",
            "   system information and the update check.",
            "7. Audit trail: every change is recorded with user and time."],
    "550": ["Varnu 550 Gel and Chemiluminescence Imaging System - User Manual",
            "",
            "1. Switch the instrument on; wait for the cooled camera to reach",
            "   its working temperature.",
            "2. Log in with your user name and password.",
            "3. Home: choose gel/UV, western blot or multi-fluorescence.",
            "4. Western blot: single or manual series, marker picture, merge.",
            "5. Image processing, reports and the audit trail as on the 520.",
            "6. System: users and rights, report titles, device settings",
            "   (light auto-close time), system information, update check."],
}


def pdf(lines):
    text = ["BT", "/F1 12 Tf", "50 790 Td", "16 TL"]
    for i, line in enumerate(lines):
        escaped = line.replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)")
        text.append("(%s) %s" % (escaped, "Tj" if i == 0 else "'"))
    text.append("ET")
    stream = "\n".join(text).encode("latin-1")
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] "
        b"/Resources << /Font << /F1 4 0 R >> >> /Contents 5 0 R >>",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        b"<< /Length %d >>\nstream\n" % len(stream) + stream + b"\nendstream",
    ]
    out = bytearray(b"%PDF-1.4\n")
    offsets = []
    for number, body in enumerate(objects, start=1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % number + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for offset in offsets:
        out += b"%010d 00000 n \n" % offset
    out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    return bytes(out)


if __name__ == "__main__":
    for model, lines in PAGES.items():
        with open("documents/user_manual_%s.pdf" % model, "wb") as f:
            f.write(pdf(lines))
