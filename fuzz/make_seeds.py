"""Writes the small seed corpora of fuzz/corpus/ (run again after changing an input layout).
Fields of one input are separated by zero bytes; Chinese texts are code page 936 where the
target reads a text, UTF-8 where it reads a response body."""
import pathlib
import struct
import zlib

HERE = pathlib.Path(__file__).parent


def gbk(s):
    return s.encode('gbk')


def put(target, name, *fields):
    d = HERE / 'corpus' / target
    d.mkdir(parents=True, exist_ok=True)
    (d / name).write_bytes(b'\0'.join(f if isinstance(f, bytes) else gbk(f) for f in fields))


def page(rows, encode):
    head = '<html><body><table class="list-task">\n'
    block = ('<tr><td><a class="list-task-title" href="http://127.0.0.1:8080/task/{0}/" target="_blank"'
             ' data-sc="{{obj:\'main\'}}">任务{0}</a>\n<p class="list-task-ctn">要求{0}</p></td>'
             '<td><a href="/task/{0}/#join">参与</a></td></tr>\n')
    tail = '</table><dl><dd><a href="/credit/">诚信管理中心</a></dd></dl></body></html>'
    return encode(head + ''.join(block.format(i) for i in range(rows)) + tail)


# Options bytes: flags, start, count, maximum.
put('text_search', 'commas', b'\x0a\x01\xff\x02', 'a,,b,', ',', '-')
put('text_search', 'second-byte', b'\x01\x00\x01\x01', '中文abc', b'\xd0', 'x')
put('text_search', 'case', b'\x03\x04\xff\x01', 'aXbxcAAA', 'x', '')
put('text_search', 'incomplete', b'\x06\x02\x01\x05', b'ab\xa1\xa1 c\x81', b'c', b'zz')
put('text_between', 'quote', b'\x00\x00', '<a href="u/" x>t</a>', '<a href=#引号', '#引号 x>')
put('text_between', 'parens', b'\x01\x02', '((x)(y))', '(', ')')
put('to_integer', 'full-width', '１０')
put('to_integer', 'signs', ' \t-7x')
put('to_integer', 'wrap', '4294967297')
put('to_integer', 'blanks', '　＋１２中')
put('url', 'port', b'\x00', 'http://Task.QingShiFang.com:8080/c-rjkf/tp1.html?x=1')
put('url', 'secure', b'\x01', 'HTTPS://a.b.c/x/')
put('url', 'levels', b'\x04\x02', 'http://www.a.b.c.d:81/p')
put('url', 'header', b'\x02', 'User-Agent:  Mozilla/4.0 　')
put('url', 'redirect', b'\x00\x01', 'http://h.test/a/b.html?q',
    'HTTP/1.1 303 See Other\r\nLocation: ../c/./d.html?x#f\r\n\r\n')
put('url', 'downgrade', b'\x00\x02', 'https://h.test/', 'HTTP/1.1 302 Found\r\nlocation: //k.test/\r\n')
put('cookies', 'lines',
    'HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nset-cookie: b=2\r\nSET-COOKIE:c=3;\r\n\r\n',
    'a=1; b=2; a=x y', 'b=deleted')
put('collector', 'cut', b'\x00\x00', page(2, gbk))
put('collector', 'collect', b'\x01\x02', page(3, lambda s: s.encode('utf-8')))
put('collector', 'address', b'\x02\x03', b'', 'http://127.0.0.1:8080/c-rjkf/th3p7.html?q=1#top')


def skin():
    name = b'seed'
    colors = struct.pack('<H', 23) + b''.join(struct.pack('<HBBBB', r, r, 2 * r, 3 * r, 0) for r in range(1, 24))
    metrics = struct.pack('<H', 2) + struct.pack('<Hh', 1, 4) + struct.pack('<Hh', 2, 2)
    sections = [(b'NAME', name), (b'COLR', colors), (b'METR', metrics)]
    offset = 20 + 12 * len(sections)
    directory, body = b'', b''
    for tag, data in sections:
        directory += tag + struct.pack('<II', offset + len(body), len(data))
        body += data
    rest = struct.pack('<HH', len(sections), 0) + directory + body
    length = 16 + len(rest)
    return b'.SHE' + struct.pack('<HHI', 1, 0, length) + struct.pack('<I', zlib.crc32(rest)) + rest


d = HERE / 'corpus' / 'skin_format'
d.mkdir(parents=True, exist_ok=True)
(d / 'minimal').write_bytes(skin())
