// The control page's style sheet.
namespace vstation_tool {

extern const char* const kPageStyle;

const char* const kPageStyle = R"css(
body { font: 14px/1.4 system-ui, sans-serif; margin: 0; color: #1d232a; background: #f4f5f7; }
header { background: #203040; color: #fff; padding: 0.6em 1.2em; display: flex; flex-wrap: wrap; gap: 1em; align-items: center; }
header h1 { font-size: 1.2em; margin: 0; }
#station-name { font-weight: normal; opacity: 0.8; }
#message { flex: 1; text-align: right; }
#message.failed { color: #ffb4a8; }
main { display: grid; grid-template-columns: repeat(auto-fit, minmax(440px, 1fr)); gap: 1em; padding: 1em; }
section { background: #fff; border-radius: 6px; padding: 0.4em 1em 1em; box-shadow: 0 1px 3px rgba(0,0,0,0.12); }
h2 { font-size: 1.05em; } h3 { font-size: 0.95em; margin: 0 0 0.3em; }
dl { display: grid; grid-template-columns: max-content 1fr; gap: 0.2em 1em; margin: 0; }
dt { font-weight: 600; } dd { margin: 0; word-break: break-word; }
.pending { padding: 0.5em; border-radius: 4px; background: #eef1f4; margin-bottom: 0.6em; }
.pending.waiting { background: #fff3c4; font-weight: 600; }
.actions { display: grid; grid-template-columns: 1fr 1fr; gap: 0.6em; }
.actions form { border: 1px solid #dde2e7; border-radius: 4px; padding: 0.5em; display: flex; flex-direction: column; gap: 0.3em; }
.gallery { display: grid; grid-template-columns: repeat(auto-fill, minmax(120px, 1fr)); gap: 0.6em; }
.person { margin: 0; border: 1px solid #dde2e7; border-radius: 4px; padding: 0.4em; display: flex; flex-direction: column; }
.person img { width: 100%; aspect-ratio: 4 / 5; object-fit: cover; background: #e4e7eb; border-radius: 3px; }
.person img.none { visibility: hidden; }
.person figcaption { display: flex; flex-direction: column; font-size: 0.85em; gap: 0.1em; }
.person-form, #fault-form { display: flex; flex-wrap: wrap; gap: 0.4em; align-items: center; margin-top: 0.8em; }
.person-form h3 { width: 100%; }
#faults-armed { margin: 0.5em 0 0; padding-left: 1.2em; }
#log { width: 100%; border-collapse: collapse; font: 12px/1.3 ui-monospace, monospace; }
#log th, #log td { text-align: left; border-bottom: 1px solid #eef0f2; padding: 0.15em 0.4em; vertical-align: top; }
#log td:last-child { max-width: 32em; overflow: hidden; text-overflow: ellipsis; white-space: nowrap; }
#log-section { grid-column: 1 / -1; max-height: 30em; overflow: auto; }
button { cursor: pointer; }
)css";

}  // namespace vstation_tool
