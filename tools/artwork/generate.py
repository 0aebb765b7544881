#!/usr/bin/python3
"""Draws every built-in image of the program and writes it under resources/.

    /usr/bin/python3 tools/artwork/generate.py [--no-sheet]

Outputs (paths relative to the repository root):
  resources/artwork/NAME.bmp      bitmap resources, listed in resources/artwork.rc
  resources/artwork/skin/*.bmp    the internal skin's master bitmap and the
                                  form's title-button bitmaps, which
                                  tools/internal-skin stores in the installer's
                                  form description
  resources/artwork/msgdlg/*.bmp  pictures of the message dialog window's frame
  resources/skins/Slate/*         the skin folder "Slate" (Options.dat, its
                                  bitmaps and JPEG pattern), which the build
                                  copies beside the program as Skins/Slate
  resources/MAINICON.ico          the program icon
  docs/contact-sheet.png          every image enlarged three times, for review
The output is the same on every run.
"""

import os
import sys

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import draw as D  # noqa: E402
import icon  # noqa: E402
import skin  # noqa: E402
import slate  # noqa: E402
import toolkit  # noqa: E402

ROOT = os.path.normpath(os.path.join(HERE, '..', '..'))
RES = os.path.join(ROOT, 'resources')
ART = os.path.join(RES, 'artwork')

# 8-bit images; everything else is written with 24 bits per pixel
EIGHT_BIT = {'MSGDLG'}


def write_rc(names):
    lines = ['// Built-in bitmaps of both engines, drawn by tools/artwork/generate.py.',
             '// Do not edit by hand: run the generator and commit what it writes.', '']
    width = max(len(n) for n in names)
    for n in names:
        lines.append('%-*s BITMAP "artwork/%s.bmp"' % (width, n, n))
    with open(os.path.join(RES, 'artwork.rc'), 'w', newline='\n') as f:
        f.write('\n'.join(lines) + '\n')


def write_skin_folder(name, files):
    """Writes a skin folder: images as 24-bit BMP files, bytes as they are."""
    folder = os.path.join(RES, 'skins', name)
    os.makedirs(folder, exist_ok=True)
    for file_name, content in files.items():
        path = os.path.join(folder, file_name)
        if isinstance(content, bytes):
            with open(path, 'wb') as f:
                f.write(content)
        else:
            D.save_bmp(content, path)
    return len(files)


def main(argv):
    os.makedirs(os.path.join(ART, 'skin'), exist_ok=True)
    os.makedirs(os.path.join(ART, 'msgdlg'), exist_ok=True)

    tk = toolkit.build()
    sk = skin.build()
    resources = {}
    resources.update(tk)
    resources.update({k: v for k, v in sk.items() if not k.startswith('skin/')})

    for name, img in sorted(resources.items()):
        path = os.path.join(ART, name + '.bmp')
        if name in EIGHT_BIT:
            D.save_bmp8(img, path)
        else:
            D.save_bmp(img, path)
    for name, img in sk.items():
        if name.startswith('skin/'):
            D.save_bmp(img, os.path.join(ART, name + '.bmp'))
    pictures = toolkit.msgdlg_pictures(tk)
    for name, img in pictures.items():
        D.save_bmp(img, os.path.join(ART, 'msgdlg', name + '.bmp'))
    write_rc(sorted(resources))
    slate_files = write_skin_folder('Slate', slate.build())

    icons = icon.build()
    icon.write_ico(os.path.join(RES, 'MAINICON.ico'), icons)

    if '--no-sheet' not in argv:
        import sheet
        os.makedirs(os.path.join(ROOT, 'docs'), exist_ok=True)
        sheet.build(ART, icons).save(os.path.join(ROOT, 'docs', 'contact-sheet.png'), optimize=True)
    print('%d resources, %d skin files, %d dialog pictures, %d files of Slate, icon %s'
          % (len(resources), len([k for k in sk if k.startswith('skin/')]), len(pictures), slate_files,
             'x'.join(str(i.size[0]) for i in icons)))


if __name__ == '__main__':
    main(sys.argv[1:])
