// Draws the 168 built-in icons once, from permissively licensed glyphs
// (Phosphor, MIT; Simple Icons, CC0) and shapes of our own, into SVG files
// of one small profile: a 100 by 100 view box; `path` elements with absolute
// M L H V C Q Z data; fills that are a colour or a vertical linear gradient
// in user space. No strokes, transforms, opacity or text, so the program's
// own small renderer draws them exactly where Direct2D's SVG support is
// missing. Also writes the resource script and, for the renderer test, a
// reference PNG of each icon rasterised by Skia.
//
//   cd src/resources/icons && npm ci && node generate.mjs
//
// The build never runs this: its output is checked in.
import { createCanvas, Image } from '@napi-rs/canvas';
import svgpath from 'svgpath';
import * as simpleIcons from 'simple-icons';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const svgDir = path.join(here, 'svg');
const referenceDir = path.resolve(here, '../../../tests/gfx/icon-references');
const ReferenceSize = 48;
const phosphorDir = path.join(here, 'node_modules/@phosphor-icons/core',
    'assets/fill');

// ---- colours -------------------------------------------------------------

function parseHex(hex) {
    const v = parseInt(hex.replace('#', ''), 16);
    return [(v >> 16) & 255, (v >> 8) & 255, v & 255];
}
function toHex(rgb) {
    return '#' + rgb.map((c) => Math.max(0, Math.min(255, Math.round(c))).toString(16).padStart(2, '0')).join('');
}
function mix(hex, other, t) {
    const a = parseHex(hex);
    const b = parseHex(other);
    return toHex(a.map((c, i) => c + (b[i] - c) * t));
}
const lighten = (hex, t) => mix(hex, '#ffffff', t);
const darken = (hex, t) => mix(hex, '#000000', t);
function luminance(hex) {
    const [r, g, b] = parseHex(hex);
    return (0.2126 * r + 0.7152 * g + 0.0722 * b) / 255;
}

// ---- path data -----------------------------------------------------------

// Absolute M L H V C Q Z only, two decimals at most.
function normalise(d) {
    return svgpath(d).unarc().unshort().abs().round(2).toString();
}

// Fits path data whose bounds are `box` (x, y, w, h) into a square of side
// `side` centred on (cx, cy), keeping proportions.
function fit(d, box, cx, cy, side) {
    const scale = side / Math.max(box[2], box[3]);
    const ox = cx - (box[0] + box[2] / 2) * scale;
    const oy = cy - (box[1] + box[3] / 2) * scale;
    return svgpath(d).unarc().unshort().abs().scale(scale).translate(ox, oy).round(2).toString();
}

function roundedRect(x, y, w, h, r) {
    const k = r * 0.4477;  // 1 - 0.5523: control points of a quarter circle
    const n = (v) => +v.toFixed(2);
    return [
        `M${n(x + r)} ${n(y)}`, `H${n(x + w - r)}`, `C${n(x + w - k)} ${n(y)} ${n(x + w)} ${n(y + k)} ${n(x + w)} ${n(y + r)}`,
        `V${n(y + h - r)}`, `C${n(x + w)} ${n(y + h - k)} ${n(x + w - k)} ${n(y + h)} ${n(x + w - r)} ${n(y + h)}`,
        `H${n(x + r)}`, `C${n(x + k)} ${n(y + h)} ${n(x)} ${n(y + h - k)} ${n(x)} ${n(y + h - r)}`,
        `V${n(y + r)}`, `C${n(x)} ${n(y + k)} ${n(x + k)} ${n(y)} ${n(x + r)} ${n(y)}`, 'Z',
    ].join('');
}

function circle(cx, cy, r) {
    const k = r * 0.5523;
    const n = (v) => +v.toFixed(2);
    return `M${n(cx)} ${n(cy - r)}C${n(cx + k)} ${n(cy - r)} ${n(cx + r)} ${n(cy - k)} ${n(cx + r)} ${n(cy)}` +
        `C${n(cx + r)} ${n(cy + k)} ${n(cx + k)} ${n(cy + r)} ${n(cx)} ${n(cy + r)}` +
        `C${n(cx - k)} ${n(cy + r)} ${n(cx - r)} ${n(cy + k)} ${n(cx - r)} ${n(cy)}` +
        `C${n(cx - r)} ${n(cy - k)} ${n(cx - k)} ${n(cy - r)} ${n(cx)} ${n(cy - r)}Z`;
}

// ---- glyph sources -------------------------------------------------------

const used = { phosphor: new Set(), simple: new Set() };

function phosphor(name) {
    const text = fs.readFileSync(path.join(phosphorDir, `${name}-fill.svg`), 'utf8');
    if (/<(rect|circle|ellipse|polygon|polyline|line)\b|opacity|transform/.test(text)) {
        throw new Error(`phosphor ${name}: outside the profile`);
    }
    const ds = [...text.matchAll(/\sd="([^"]+)"/g)].map((m) => m[1]);
    used.phosphor.add(name);
    return { d: ds.join(''), box: [0, 0, 256, 256], side: 0.62 };
}

function simple(slug) {
    const icon = Object.values(simpleIcons).find((i) => i && i.slug === slug);
    if (!icon) {
        throw new Error(`simple-icons ${slug}: not found`);
    }
    used.simple.add(`${icon.title} (${slug})`);
    return { d: icon.path, box: [0, 0, 24, 24], side: 0.56, hex: '#' + icon.hex };
}

// Shapes of our own where no free mark exists.
const own = {
    // Two controller halves and the screen between them.
    handheld: () => ({
        d: roundedRect(2, 5, 6, 14, 3) + roundedRect(16, 5, 6, 14, 3) + roundedRect(9, 6, 6, 12, 1) +
            circle(5, 9, 1.2) + circle(19, 14, 1.2),
        box: [2, 5, 20, 14], side: 0.6,
    }),
};

// ---- compositions --------------------------------------------------------

let gradientId = 0;

function document(body, defs) {
    return '<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 100 100">' +
        (defs.length ? `<defs>${defs.join('')}</defs>` : '') + body.join('') + '</svg>\n';
}

function verticalGradient(top, bottom, y1, y2, defs) {
    const id = `g${gradientId++}`;
    defs.push(`<linearGradient id="${id}" gradientUnits="userSpaceOnUse" x1="50" y1="${y1}" x2="50" y2="${y2}">` +
        `<stop offset="0" stop-color="${top}"/><stop offset="1" stop-color="${bottom}"/></linearGradient>`);
    return `url(#${id})`;
}

function pathElement(d, fill, evenodd) {
    return `<path d="${d}" fill="${fill}"${evenodd ? ' fill-rule="evenodd"' : ''}/>`;
}

// Application: a rounded tile with a vertical gradient and a centred glyph.
function appTile(glyph, base, glyphColour = '#ffffff') {
    gradientId = 0;
    const defs = [];
    const tile = verticalGradient(lighten(base, 0.28), darken(base, 0.12), 6, 94, defs);
    const body = [pathElement(roundedRect(6, 6, 88, 88, 22), tile)];
    body.push(pathElement(fit(glyph.d, glyph.box, 50, 50, 100 * glyph.side), glyphColour, glyph.evenodd));
    return document(body, defs);
}

const FolderColours = {
    blue: '#3d8fe0', gold: '#e3b021', green: '#3fae5a', purple: '#8c5ad8',
    coral: '#ee6a5c', orange: '#f08a24', pink: '#e65aa3', graphite: '#7a808a',
};
const Kinds = {
    archives: 'archive', cloud: 'cloud', code: 'code', desktop: 'desktop', documents: 'file-text',
    downloads: 'download-simple', favorites: 'star', games: 'game-controller', images: 'image',
    music: 'music-notes', videos: 'film-strip', work: 'briefcase',
};
const KindNames = Object.keys(Kinds);
const ColourNames = ['gold', 'green', 'purple', 'coral', 'orange', 'pink', 'graphite'];

function folderShapes(base, defs) {
    const back = 'M10 24C10 20.7 12.7 18 16 18H38C40 18 41.6 18.8 42.8 20.4L47 26H84C87.3 26 90 28.7 90 32V80' +
        'C90 83.3 87.3 86 84 86H16C12.7 86 10 83.3 10 80Z';
    const front = roundedRect(10, 34, 80, 52, 6);
    return [
        pathElement(back, verticalGradient(darken(base, 0.05), darken(base, 0.25), 18, 86, defs)),
        pathElement(front, verticalGradient(lighten(base, 0.3), base, 34, 86, defs)),
    ];
}

// A folder in a colour; the kind, when given, embossed on its front: the
// glyph in a deeper shade over a light copy one unit lower.
function folder(colour, kind, { flat = false } = {}) {
    gradientId = 0;
    const base = FolderColours[colour];
    const defs = [];
    const body = folderShapes(base, defs);
    if (kind) {
        const glyph = phosphor(Kinds[kind]);
        if (flat) {
            body.push(pathElement(fit(glyph.d, glyph.box, 50, 61, 32), '#ffffff'));
        } else {
            body.push(pathElement(fit(glyph.d, glyph.box, 50, 62, 30), lighten(base, 0.55)));
            body.push(pathElement(fit(glyph.d, glyph.box, 50, 61, 30), darken(base, 0.3)));
        }
    }
    return document(body, defs);
}

// ---- the table -----------------------------------------------------------

const rows = [];
const add = (id, name, svg) => rows.push({ id, name, svg });

const Apps = {
    thispc: () => appTile(phosphor('desktop'), '#3b6fd8'),
    launchpad: () => appTile(phosphor('squares-four'), '#6a5ae0'),
    newcadrel: () => appTile(phosphor('plus'), '#2fa58a'),
    settings: () => appTile(phosphor('gear'), '#6f7680'),
    trash: () => appTile(phosphor('trash'), '#8a939e'),
    app_store: () => brand(simple('appstore')),
    browser_brave: () => brand(simple('brave')),
    browser_chrome: () => brand(simple('googlechrome')),
    browser_edge: () => appTile(phosphor('globe'), '#1f9bd1'),
    browser_firefox: () => brand(simple('firefoxbrowser')),
    browser_firefox_nightly: () => appTile(simple('firefoxbrowser'), '#3b1f72'),
    browser_opera: () => brand(simple('opera')),
    browser_safari: () => brand(simple('safari')),
    calculator: () => appTile(phosphor('calculator'), '#f0932b'),
    camera: () => appTile(phosphor('camera'), '#4c5663'),
    clock: () => appTile(phosphor('clock'), '#2b2f36'),
    cloud: () => appTile(phosphor('cloud'), '#3aa0f0'),
    code: () => appTile(phosphor('code'), '#2167c4'),
    downloads: () => appTile(phosphor('download-simple'), '#1e88e5'),
    files: () => appTile(phosphor('files'), '#f2b61f'),
    finder: () => appTile(phosphor('smiley'), '#2d8cf0'),
    folder: () => appTile(phosphor('folder'), '#3d8fe0'),
    gaming_battlenet: () => brand(simple('battledotnet')),
    gaming_nintendo_switch: () => appTile(own.handheld(), '#e4002b'),
    gaming_playstation: () => brand(simple('playstation')),
    gaming_steam: () => brand(simple('steam')),
    gaming_xbox: () => appTile(phosphor('game-controller'), '#107c10'),
    lock: () => appTile(phosphor('lock'), '#4a5563'),
    mail: () => appTile(phosphor('envelope-simple'), '#2f80ed'),
    maps: () => appTile(phosphor('map-trifold'), '#34a853'),
    messages: () => appTile(phosphor('chat-circle-dots'), '#30c85a'),
    music: () => appTile(phosphor('music-notes'), '#f2405c'),
    notes: () => appTile(phosphor('note-pencil'), '#f4c430'),
    photos: () => appTile(phosphor('flower-lotus'), '#e0569b'),
    search: () => appTile(phosphor('magnifying-glass'), '#5b6b7f'),
    social_discord: () => brand(simple('discord')),
    social_facebook: () => brand(simple('facebook')),
    social_instagram: () => brand(simple('instagram')),
    social_linkedin: () => appTile(phosphor('linkedin-logo'), '#0a66c2'),
    social_reddit: () => brand(simple('reddit')),
    social_snapchat: () => brand(simple('snapchat'), '#1b1b1b'),
    social_telegram: () => brand(simple('telegram')),
    social_tiktok: () => brand(simple('tiktok')),
    social_twitch: () => brand(simple('twitch')),
    social_whatsapp: () => brand(simple('whatsapp')),
    social_x: () => brand(simple('x')),
    social_youtube: () => brand(simple('youtube')),
    system_monitor: () => appTile(phosphor('pulse'), '#1d2733'),
    terminal: () => appTile(phosphor('terminal-window'), '#20242b'),
    trash_full: () => appTile(phosphor('trash'), '#c0504d'),
    videos: () => appTile(phosphor('film-strip'), '#7b4fd6'),
};

// A brand mark in white on a tile of the brand's colour; a light brand
// colour gets a dark mark instead, so the mark always stands out.
function brand(glyph, markColour) {
    const base = glyph.hex;
    if (markColour) {
        return appTile(glyph, base, markColour);
    }
    if (luminance(base) > 0.8) {
        return appTile(glyph, base, '#1b1b1b');
    }
    return appTile(glyph, luminance(base) < 0.06 ? '#30343a' : base);
}

add(205, 'thispc', Apps.thispc());
add(201, 'launchpad', Apps.launchpad());
add(204, 'newcadrel', Apps.newcadrel());
add(203, 'settings', Apps.settings());
add(202, 'trash', Apps.trash());

const group2 = ['app_store', 'browser_brave', 'browser_chrome', 'browser_edge', 'browser_firefox',
    'browser_firefox_nightly', 'browser_opera', 'browser_safari', 'calculator', 'camera', 'clock', 'cloud', 'code',
    'downloads', 'files', 'finder', 'folder'];
{
    let id = 210;
    for (const name of group2) {
        if (id === 219) id++;
        add(id++, `dock_macos_${name}`, Apps[name]());
    }
}

add(271, 'dock_macos_folder_dock', folder('blue'));
ColourNames.forEach((colour, i) => add(272 + i, `dock_macos_folder_dock_${colour}`, folder(colour)));
KindNames.forEach((kind, i) => add(400 + i, `dock_macos_folder_dock_${kind}`, folder('blue', kind)));
ColourNames.forEach((colour, c) => KindNames.forEach((kind, k) =>
    add(412 + c * 12 + k, `dock_macos_folder_dock_${colour}_${kind}`, folder(colour, kind))));
KindNames.forEach((kind, i) => add(228 + i, `dock_macos_folder_${kind}`, folder('blue', kind, { flat: true })));

const group7 = ['gaming_battlenet', 'gaming_nintendo_switch', 'gaming_playstation', 'gaming_steam', 'gaming_xbox',
    'lock', 'mail', 'maps', 'messages', 'music', 'newcadrel', 'notes', 'photos', 'search', 'social_discord',
    'social_facebook', 'social_instagram', 'social_linkedin', 'social_reddit', 'social_snapchat', 'social_telegram',
    'social_tiktok', 'social_twitch', 'social_whatsapp', 'social_x', 'social_youtube', 'system_monitor', 'terminal',
    'trash_full', 'videos'];
{
    let id = 240;
    for (const name of group7) {
        if (id === 241) id++;
        add(id++, `dock_macos_${name}`, Apps[name]());
    }
}

// ---- output --------------------------------------------------------------

if (rows.length !== 168 || new Set(rows.map((r) => r.id)).size !== 168) {
    throw new Error(`expected 168 distinct icons, got ${rows.length}`);
}
const profile = /^(<svg xmlns="http:\/\/www\.w3\.org\/2000\/svg" viewBox="0 0 100 100">)(<defs>.*<\/defs>)?(<path d="[MLHVCQZ0-9 .\-]+" fill="[^"]+"( fill-rule="evenodd")?\/>)+<\/svg>\n$/;

fs.rmSync(svgDir, { recursive: true, force: true });
fs.mkdirSync(svgDir, { recursive: true });
fs.mkdirSync(referenceDir, { recursive: true });
const rc = ['// Generated by generate.mjs: the built-in icons, RT_RCDATA under their table ids.', ''];
for (const row of rows) {
    if (!profile.test(row.svg)) {
        throw new Error(`${row.name}: outside the profile`);
    }
    fs.writeFileSync(path.join(svgDir, `${row.name}.svg`), row.svg);
    rc.push(`${row.id} RCDATA "icons/svg/${row.name}.svg"`);

    const image = new Image();
    image.src = Buffer.from(row.svg);
    const canvas = createCanvas(ReferenceSize, ReferenceSize);
    canvas.getContext('2d').drawImage(image, 0, 0, ReferenceSize, ReferenceSize);
    fs.writeFileSync(path.join(referenceDir, `${row.name}.png`), canvas.toBuffer('image/png'));
}
fs.writeFileSync(path.join(here, 'BuiltinIcons.rc'), rc.join('\n') + '\n');
console.log(`${rows.length} icons; Phosphor glyphs: ${[...used.phosphor].sort().join(', ')}`);
console.log(`Simple Icons marks: ${[...used.simple].sort().join(', ')}`);
