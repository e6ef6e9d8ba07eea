-- Table inserts and look-ups with string keys.
local d = {}
local count = 0
for i = 1, 200000 do
  d["key" .. i] = i
  count = count + 1
end
local total = 0
for i = 1, 200000 do
  local v = d["key" .. i]
  if v ~= nil then total = total + v end
end
print(count, total)
